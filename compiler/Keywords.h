// The keyword table (reserved words to symbols and token codes) and the token
// table (texts under which the listing shows the token codes 0x80..0xFE).
#pragma once

#include "Symbols.h"

#include <string>
#include <string_view>
#include <unordered_map>

// One reserved word. `token` is the code written into the program image for
// it (-1 when the keyword is never written as a token); `number` is the digit
// written after the token for numbered keywords (PWM3 -> 0xCB "3") and the
// sub-code of the display keywords (PLOT -> 0xAD "0"), otherwise -1.
struct KeywordInfo {
    const char *name;
    TSYMBOL symbol;
    int token;
    int number;
};

class CKeywords {
public:
    static constexpr int kKeywordCount = 176;
    static constexpr int kBuckets = 200;

    static const CKeywords &Instance();

    // The entry of an upper-case word, or nullptr.
    const KeywordInfo *Find(const std::string &upperWord) const;
    // The entry of a keyword symbol, or nullptr for a non-keyword symbol.
    const KeywordInfo *Info(int symbol) const;

private:
    CKeywords();
    std::unordered_map<std::string, const KeywordInfo *> m_map;
    const KeywordInfo *m_bySymbol[symCount] = {};
};

// Upper-cases a copy of the word and looks it up; on success sets `symbol`
// to the keyword's value and returns true, otherwise leaves it unchanged.
bool LookupKeyword(std::string_view word, TSYMBOL &symbol);

// The listing text of a token code 0x80..0xFE; "" for any other value.
const char *TokenText(int code);

// The token code of a keyword symbol (family code for numbered keywords), -1 if none.
int KeywordToken(int symbol);
// The digit that follows the token of a numbered or display keyword, -1 if none.
int KeywordNumber(int symbol);
