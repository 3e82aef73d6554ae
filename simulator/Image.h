// The program image as the compiler writes it: line records (line number
// high and low byte, length byte, body, 0x0A) and one end record (number,
// 0x02, 0x03). Nothing in it is trusted: any byte sequence gives either its
// lines or the reason it is no image.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velsim {

struct ImageLine {
    int number = 0;
    size_t offset = 0; // of the record in the image
    std::string_view body; // the statements, without the closing 0x0A
};

struct ImageLines {
    std::vector<ImageLine> lines;
    int endNumber = 0; // the end record's line number
};

// Splits the image into its line records; "" on success, otherwise why it
// is no image. Line numbers must rise; the bodies point into `image`.
std::string SplitImage(const std::vector<uint8_t> &image, ImageLines &out);

} // namespace velsim
