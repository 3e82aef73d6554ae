// Hashing and comparing names without regard to ASCII letter case, for the
// compiler's name tables (macros, variables, labels). Both accept any string
// type (std::string_view included), so a look-up needs no upper-case copy
// of the name.
#pragma once

#include "lang/CharClass.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

using velmo::lang::UpperAscii;

struct NoCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const
    {
        uint64_t hash = 14695981039346656037ull; // FNV-1a
        for (const char c : name)
            hash = (hash ^ static_cast<unsigned char>(UpperAscii(c))) * 1099511628211ull;
        return static_cast<size_t>(hash);
    }
};

struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const
    {
        return velmo::lang::EqualNoCase(a, b);
    }
};

// A table keyed by names that compare without regard to case.
template <typename T> using NoCaseMap = std::unordered_map<std::string, T, NoCaseHash, NoCaseEqual>;
