// The simulator's view of the token table: a token byte and the digit after
// it name one keyword, and a family member knows its digit, for every family
// of the language's table.
#include "TokenTable.h"

#include <gtest/gtest.h>

namespace {

using namespace velsim;

TEST(TokenTable, EveryFamilyMemberIsFoundByItsFirstMemberAndDigit)
{
    int members = 0;
    for (const KeywordInfo &k : CKeywords::Instance().All()) {
        if (k.number < 0)
            continue;
        ++members;
        const TSYMBOL first = SymbolOfToken(static_cast<uint8_t>(k.token));
        EXPECT_EQ(FamilyMember(first, k.number), k.symbol) << k.name;
        EXPECT_EQ(MemberIndex(k.symbol, first), k.number) << k.name;
        EXPECT_EQ(IsVariableFamily(first), k.wordClass == WordClass::Variable) << k.name;
    }
    EXPECT_EQ(members, 8 + 8 + 10 + 4 + 4 + 4 + 7); // ADC, PWM, PORT, TIMER, COUNTER, STEPPER, display
}

struct MemberCase {
    int symbol;
    TSYMBOL first;
    int index;
};

const MemberCase kMemberCases[] = {
    {symPORT9, symPORT0, 9},      {symPWM7, symPWM0, 7},    {symPWM7, symADC0, -1},
    {symTIMER3, symCOUNTER0, -1}, {symPRINT, symPORT0, -1}, {symSTEPPER3, symSTEPPER0, 3},
    {symIdent, symPORT0, -1},     {symPORT0, symIdent, -1}, {symBARGRAPH, symPLOT, 6},
};

TEST(TokenTable, MemberIndexIsTheDigitWithinTheNamedFamilyOnly)
{
    for (const MemberCase &c : kMemberCases)
        EXPECT_EQ(MemberIndex(c.symbol, c.first), c.index) << KeywordName(c.symbol) << " in " << KeywordName(c.first);
}

TEST(TokenTable, DigitsOutsideAFamilyAndBytesWithoutKeywordDecodeToNothing)
{
    EXPECT_EQ(FamilyMember(symPORT0, 10), symEndOfLine);
    EXPECT_EQ(FamilyMember(symPWM0, -1), symEndOfLine);
    EXPECT_EQ(FamilyMember(symPLOT, 7), symEndOfLine);
    EXPECT_EQ(FamilyMember(symIdent, 0), symEndOfLine);
    EXPECT_EQ(SymbolOfToken(0x41), symEndOfLine);
    EXPECT_EQ(SymbolOfToken(0xBF), symEndOfLine);
    EXPECT_EQ(SymbolOfToken(0xCB), symPWM0);
    EXPECT_EQ(SymbolOfToken(0xAD), symPLOT);
    EXPECT_FALSE(IsVariableFamily(symPLOT));
    EXPECT_FALSE(IsVariableFamily(symERR));
}

} // namespace
