// Generates large Velmo programs for the compiler benchmarks: a repeating
// mix of comments, blank lines, declarations, labels, loops, jumps and
// output statements, so that every phase (directive pass, label pass, code
// generation) has work on every line.
#pragma once

#include <cstdio>
#include <string>

inline std::string GenerateProgram(int lines)
{
    static const char *const kBlock[] = {
        "' block %d",
        "",
        "#DEFINE LIMIT%d 10",
        "lbl%d:",
        "FOR i = 1 TO LIMIT%d",
        "  total = total + i * 2 ' running sum",
        "  IF total > 100 THEN total = 0",
        "NEXT",
        "PRINT \"total\", total, CR",
        "GOSUB lbl%d",
    };
    constexpr int kBlockLines = sizeof kBlock / sizeof kBlock[0];
    std::string text = "INTEGER i, total\n";
    text.reserve(static_cast<size_t>(lines) * 24);
    char line[128];
    for (int n = 1; n < lines; ++n) {
        const int block = n / kBlockLines;
        std::snprintf(line, sizeof line, kBlock[n % kBlockLines], block);
        text += line;
        text += '\n';
    }
    return text;
}
