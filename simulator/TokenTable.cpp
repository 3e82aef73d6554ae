#include "TokenTable.h"

namespace velsim {

namespace {

const CKeywords &Table()
{
    return CKeywords::Instance();
}

} // namespace

TSYMBOL SymbolOfToken(uint8_t byte)
{
    const KeywordInfo *info = Table().ByToken(byte);
    return info ? info->symbol : symEndOfLine;
}

TSYMBOL FamilyMember(TSYMBOL first, int digit)
{
    const KeywordInfo *member = digit >= 0 ? Table().ByToken(KeywordToken(first), digit) : nullptr;
    return member ? member->symbol : symEndOfLine;
}

bool IsVariableFamily(TSYMBOL first)
{
    const KeywordInfo *info = Table().Info(first);
    return info && info->wordClass == WordClass::Variable && info->number == 0;
}

int MemberIndex(int symbol, TSYMBOL first)
{
    const KeywordInfo *info = Table().Info(symbol);
    const int token = KeywordToken(first);
    return info && token >= 0 && info->token == token ? info->number : -1;
}

} // namespace velsim
