#include "HexFileReader.h"

#include "ModuleLoader.h"

#include <fstream>
#include <sstream>

namespace velsim {

bool ImageFromHexText(const std::string &text, size_t capacity, std::vector<uint8_t> &image, std::string &error)
{
    CLoader loader(capacity);
    int line = 1;
    for (const char c : text) {
        if (c == '\n')
            ++line;
        switch (loader.Take(static_cast<uint8_t>(c))) {
        case CLoader::Event::kReject:
            error = "malformed record in line " + std::to_string(line);
            return false;
        case CLoader::Event::kComplete:
            if (!loader.ImageError().empty()) {
                error = loader.ImageError();
                return false;
            }
            image = loader.Image();
            return true;
        default:
            break;
        }
    }
    error = "no end-of-file record";
    return false;
}

bool ReadHexFile(const std::string &path, size_t capacity, std::vector<uint8_t> &image, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!ImageFromHexText(text.str(), capacity, image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace velsim
