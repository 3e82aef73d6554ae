// Names for the cases of parameterised tests: built from readable text of the
// case, reduced to letters, digits and "_", and ended with the case's index
// so that every name is unique and stays the same from run to run.
#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

inline std::string StableTestName(std::string_view text, size_t index)
{
    constexpr size_t kMaxLetters = 40;
    std::string name;
    for (const char c : text) {
        if (name.size() >= kMaxLetters)
            break;
        if (std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80)
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    return name + (name.empty() || name.back() == '_' ? "" : "_") + std::to_string(index);
}
