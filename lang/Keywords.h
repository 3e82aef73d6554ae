// The keyword table (reserved words to symbols and token codes) and the token
// table (texts under which the listing shows the token codes 0x80..0xFE).
// The compiler writes token codes with it, the simulator decodes them with
// it, the editor colours and completes its words and the manual prints it.
#pragma once

#include "lang/Symbols.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velmo::lang {

// What kind of word a keyword is: the kinds of the editor's completion list,
// plus FileMode for APPEND, which (unlike OUTPUT) the editor shows as a
// plain word.
enum class WordClass : std::uint8_t {
    Type,
    Format,
    Keyword,
    Command,
    Function,
    Operator,
    Constant,
    Variable,
    Directive,
    FileMode,
};

// True for the classes whose words the editor shows as reserved words.
bool IsReservedWordClass(WordClass wordClass);

// One reserved word. `token` is the code written into the program image for
// it (-1 when the keyword is never written as a token); `number` is the digit
// written after the token for numbered keywords (PWM3 -> 0xCB "3") and the
// sub-code of the display keywords (PLOT -> 0xAD "0"), otherwise -1.
struct KeywordInfo {
    const char *name;
    TSYMBOL symbol;
    int token;
    int number;
    WordClass wordClass;
};

class CKeywords {
public:
    static constexpr int kKeywordCount = 176;

    static const CKeywords &Instance();

    // Every keyword, in the order of the token codes.
    std::span<const KeywordInfo> All() const;
    // The entry of an upper-case word, or nullptr.
    const KeywordInfo *Find(const std::string &upperWord) const;
    // The entry of a word in any letter case, or nullptr. No copy of the
    // word is made: the scanner calls it for every word it reads.
    const KeywordInfo *FindWord(std::string_view word) const;
    // The entry of a keyword symbol, or nullptr for a non-keyword symbol.
    const KeywordInfo *Info(int symbol) const;
    // The entry written as token `code` followed by the digit `number`; with
    // number -1 the plain keyword or the first member of a numbered family
    // (PWM0, PLOT). nullptr when the image holds no such keyword.
    const KeywordInfo *ByToken(int code, int number = -1) const;

private:
    // Built while compiling (Keywords.cpp), so that the table is part of the
    // program's read-only data: nothing to build, no page to write at start.
    constexpr CKeywords();
    // Open addressing on a case-blind hash of the name's length, first and
    // last letter: 176 keywords in 1024 slots, so a look-up probes about one
    // slot and compares one name.
    static constexpr size_t kSlots = 1024;
    static constexpr size_t Slot(std::string_view word);
    const KeywordInfo *m_slots[kSlots] = {};
    uint8_t m_lengths[kSlots] = {}; // of the slot's name, compared before its letters
    size_t m_longest = 0; // letters of the longest keyword
    const KeywordInfo *m_bySymbol[symCount] = {};
    const KeywordInfo *m_byToken[256] = {}; // plain keyword or first member
};

// Upper-cases a copy of the word and looks it up; on success sets `symbol`
// to the keyword's value and returns true, otherwise leaves it unchanged.
bool LookupKeyword(std::string_view word, TSYMBOL &symbol);

// The listing text of a token code 0x80..0xFE; "" for any other value.
const char *TokenText(int code);
// No listing text of a token is longer.
constexpr size_t kLongestTokenText = 11;

// The token code of a keyword symbol (family code for numbered keywords), -1 if none.
int KeywordToken(int symbol);
// The digit that follows the token of a numbered or display keyword, -1 if none.
int KeywordNumber(int symbol);
// The reserved word of a keyword symbol ("PRINT", "PWM3"); "" for others.
const char *KeywordName(int symbol);

} // namespace velmo::lang
