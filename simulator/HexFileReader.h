// Reading a HEX file from disk into a program image, with the same record
// reader the loader uses on the serial line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velsim {

// The most HEX text a file may hold: the largest image, one byte a record,
// is far below it, so a larger file (or a device such as /dev/zero) is no
// program image.
inline constexpr size_t kMaxHexFileBytes = 4 * 1024 * 1024;

// False with the reason in `error` when the file cannot be read or its
// records do not form an image of at most `capacity` bytes. While it waits
// for the file (a FIFO whose writer is slow), a readable `stopFd` ends the
// wait with "stopped".
bool ReadHexFile(const std::string &path, size_t capacity, std::vector<uint8_t> &image, std::string &error,
                 int stopFd = -1);

// The same for HEX text already in memory.
bool ImageFromHexText(const std::string &text, size_t capacity, std::vector<uint8_t> &image, std::string &error);

} // namespace velsim
