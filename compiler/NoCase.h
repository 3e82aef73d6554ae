// Hashing and comparing names without regard to ASCII letter case, for the
// compiler's name tables (macros, variables, labels). Both accept any string
// type (std::string_view included), so a look-up needs no upper-case copy
// of the name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

constexpr char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

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
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (UpperAscii(a[i]) != UpperAscii(b[i]))
                return false;
        }
        return true;
    }
};

// A table keyed by names that compare without regard to case.
template <typename T> using NoCaseMap = std::unordered_map<std::string, T, NoCaseHash, NoCaseEqual>;
