#include "ListingLookup.h"

#include <cctype>
#include <fstream>

namespace velsim {

namespace {

// A listing line: the image line number right-aligned in (at least) four
// columns, two blanks, the address as four hex digits, two blanks, the code.
bool ParseListingLine(const std::string &text, int &number, std::string &code)
{
    size_t pos = text.find_first_not_of(' ');
    if (pos == std::string::npos || !std::isdigit(static_cast<unsigned char>(text[pos])))
        return false;
    number = 0;
    for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos) {
        if (number > 100000)
            return false;
        number = number * 10 + (text[pos] - '0');
    }
    if (text.compare(pos, 2, "  ") != 0 || text.size() < pos + 8 || text.compare(pos + 6, 2, "  ") != 0)
        return false;
    for (size_t i = pos + 2; i < pos + 6; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    code = text.substr(pos + 8);
    return true;
}

} // namespace

bool FindInListing(const std::string &listingPath, int imageLine, ListingPlace &place)
{
    std::ifstream in(listingPath, std::ios::binary);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        int number = 0;
        std::string code;
        if (ParseListingLine(text, number, code) && number == imageLine) {
            place.line = line;
            place.code = code;
            return true;
        }
    }
    return false;
}

std::string ListingPathOf(const std::string &hexPath)
{
    const size_t slash = hexPath.find_last_of('/');
    const size_t dot = hexPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? hexPath.substr(0, dot) : hexPath) + ".lst";
}

} // namespace velsim
