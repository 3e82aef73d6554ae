// Generates large Velmo programs for the compiler benchmarks: a repeating
// mix of comments, blank lines, declarations, labels, loops, jumps and
// output statements, so that every phase (directive pass, label pass, code
// generation) has work on every line. The text is also a clean input for
// the C preprocessor (lower-case #define, comments with a closing "'"), so
// that velc_vs_cpp compares like with like: cpp slows down with the square
// of the number of diagnostics it prints.
#pragma once

#include <cstdio>
#include <string>

// The repeating block of the generated programs; a program of 1 + k * 10
// lines is whole blocks, every loop closed and every label defined.
constexpr int kGeneratedBlockLines = 10;

inline std::string GenerateProgram(int lines)
{
    static const char *const kBlock[kGeneratedBlockLines] = {
        "' block %d '",
        "",
        "#define LIMIT%d 10",
        "lbl%d:",
        "FOR i = 1 TO LIMIT%d",
        "  total = total + i * 2 ' running sum '",
        "  IF total > 100 THEN total = 0",
        "NEXT",
        "PRINT \"total\", total, CR",
        "GOSUB lbl%d",
    };
    constexpr int kBlockLines = kGeneratedBlockLines;
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
