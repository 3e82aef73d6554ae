// Reading a HEX file from disk into a program image, with the same record
// reader the loader uses on the serial line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velsim {

// False with the reason in `error` when the file cannot be read or its
// records do not form an image of at most `capacity` bytes.
bool ReadHexFile(const std::string &path, size_t capacity, std::vector<uint8_t> &image, std::string &error);

// The same for HEX text already in memory.
bool ImageFromHexText(const std::string &text, size_t capacity, std::vector<uint8_t> &image, std::string &error);

} // namespace velsim
