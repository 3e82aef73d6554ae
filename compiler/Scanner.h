// The scanner's state. Each compile run owns one (CCompiler::m_scan) and
// hands it to every line it scans, so runs never share scanner state.
#pragma once

#include "LanguageNames.h"

#include <cstdint>
#include <string>
#include <vector>

struct ScanState {
    int m_pos = 0; // index of the next character to read
    char m_char = 0; // the character read last
    int32_t m_intValue = 0; // last integer constant
    double m_floatValue = 0; // last float constant
    std::string m_text; // last word, directive word or string constant, as written
    TSYMBOL m_symbol = symEndOfLine;
    // Names of the macros being expanded in the line being scanned, most
    // recent last. Macro expansion puts the byte 0x03 behind every inserted
    // body; when the scanner skips that mark it pops the most recent name, so
    // a macro can be used again once its own expansion has been passed.
    std::vector<std::string> m_activeExpansions;
};

constexpr char kEndOfExpansion = '\x03';
