// The scanner's state, shared by every line that is scanned during a run.
#pragma once

#include "Symbols.h"

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
};

extern ScanState Scan;

// Names of the macros being expanded in the line being scanned, most recent
// last. Macro expansion puts the byte 0x03 behind every inserted body; when
// the scanner skips that mark it pops the most recent name, so a macro can
// be used again once its own expansion has been passed.
extern std::vector<std::string> ActiveExpansions;

constexpr char kEndOfExpansion = '\x03';
