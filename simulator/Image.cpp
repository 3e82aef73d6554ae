#include "Image.h"

#include "ModuleMessages.h"

namespace velsim {

namespace {

constexpr uint8_t kLineEnd = 0x0A;
constexpr uint8_t kEndMark = 0x03;
constexpr uint8_t kEndLength = 2;

} // namespace

std::string SplitImage(const std::vector<uint8_t> &image, ImageLines &out)
{
    out = ImageLines();
    const size_t size = image.size();
    size_t pos = 0;
    int last = 0;
    for (;;) {
        if (pos + 4 > size)
            return ImageFaultText(ImageFault::kNoEndRecord, static_cast<long>(pos));
        const int number = image[pos] << 8 | image[pos + 1];
        const size_t length = image[pos + 2];
        if (number <= last)
            return ImageFaultText(ImageFault::kLineOrder, number);
        if (length == kEndLength && image[pos + 3] == kEndMark) {
            if (pos + 4 != size)
                return ImageFaultText(ImageFault::kDataAfterEnd, static_cast<long>(pos + 4));
            out.endNumber = number;
            return "";
        }
        if (length < 2 || pos + 2 + length > size || image[pos + 1 + length] != kLineEnd)
            return ImageFaultText(ImageFault::kDamagedRecord, static_cast<long>(pos));
        const char *body = reinterpret_cast<const char *>(image.data()) + pos + 3;
        out.lines.push_back({number, pos, std::string_view(body, length - 2)});
        last = number;
        pos += 2 + length;
    }
}

} // namespace velsim
