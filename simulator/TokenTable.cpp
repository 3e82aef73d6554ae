#include "TokenTable.h"

#include "Keywords.h"

#include <array>

namespace velsim {

namespace {

std::array<TSYMBOL, 256> BuildTable()
{
    std::array<TSYMBOL, 256> table{};
    table.fill(symEndOfLine);
    for (int symbol = symIF; symbol < symDirIFDEF; ++symbol) {
        const KeywordInfo *info = CKeywords::Instance().Info(symbol);
        if (info && info->token >= 0x80 && info->token <= 0xFF && info->number <= 0)
            table[info->token] = info->symbol;
    }
    return table;
}

} // namespace

TSYMBOL SymbolOfToken(uint8_t byte)
{
    static const std::array<TSYMBOL, 256> kTable = BuildTable();
    return kTable[byte];
}

const char *KeywordName(int symbol)
{
    const KeywordInfo *info = CKeywords::Instance().Info(symbol);
    return info ? info->name : "";
}

} // namespace velsim
