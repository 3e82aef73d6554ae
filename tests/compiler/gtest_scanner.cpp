// The scanner: source snippets and the symbols they give.
#include "LanguageNames.h"
#include "Scanner.h"
#include "Source.h"

#include "TestNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One expected symbol; `value` is checked for constants and words.
struct Sym {
    int symbol;
    std::string text = ""; // m_text after a word, directive or string
    double value = 0; // m_intValue or m_floatValue
};

struct ScanCase {
    const char *source;
    bool directive;
    std::vector<Sym> symbols; // end of line follows implicitly
};

const ScanCase kCases[] = {
    {"if If IF", false, {{symIF, "if"}, {symIF, "If"}, {symIF, "IF"}}},
    {"iff", false, {{symIdent, "iff"}}},
    {"$1f $1F %101 $ %",
     false,
     {{symInteger, "", 31}, {symInteger, "", 31}, {symInteger, "", 5}, {symInteger, "", 0}, {symInteger, "", 0}}},
    {"12.50 3. .5 -7",
     false,
     {{symFloat, "", 12.5}, {symFloat, "", 3.0}, {symPeriod}, {symInteger, "", 5}, {symMinus}, {symInteger, "", 7}}},
    {"a<>b", false, {{symIdent, "a"}, {symNotEqual}, {symIdent, "b"}}},
    {"=< << >> <= >= < > ..",
     false,
     {{symEqual},
      {symLess},
      {symShiftLeft},
      {symShiftRight},
      {symLessEqual},
      {symGreaterEqual},
      {symLess},
      {symGreater},
      {symRange}}},
    {"1..5", false, {{symFloat, "", 1.0}, {symPeriod}, {symInteger, "", 5}}},
    {"count ' remark", false, {{symIdent, "count"}}},
    {"PWM3 PWM8 PWM pwm0 STEPPER3 port9",
     false,
     {{symPWM0 + 3}, {symIdent, "PWM8"}, {symIdent, "PWM"}, {symPWM0}, {symSTEPPER3}, {symPORT9}}},
    {"#1", false, {{symHash}, {symInteger, "", 1}}},
    {"#include #Define #if # x",
     true,
     {{symDirINCLUDE, "#include"},
      {symDirDEFINE, "#Define"},
      {symBadDirective, "#if"},
      {symBadDirective, "#"},
      {symIdent, "x"}}},
    {"PRINT \"no end", false, {{symPRINT}}},
    {"\"a 'b' c\" x", false, {{symString, "a 'b' c"}, {symIdent, "x"}}},
    {"mod Or XOR and not As", false, {{symMod}, {symOr}, {symXor}, {symAnd}, {symNot}, {symAs}}},
    {"+-*/=()[],:&|^~",
     false,
     {{symPlus},
      {symMinus},
      {symTimes},
      {symDivide},
      {symEqual},
      {symLParen},
      {symRParen},
      {symLBracket},
      {symRBracket},
      {symComma},
      {symColon},
      {symAnd},
      {symOr},
      {symXor},
      {symNot}}},
    {"a\t\x01\x03"
     "b",
     false,
     {{symIdent, "a"}, {symIdent, "b"}}},
    {"@ ? \xE9 x", false, {{symInvalid}, {symInvalid}, {symInvalid}, {symIdent, "x"}}},
    {"_a1 a_b", false, {{symIdent, "_a1"}, {symIdent, "a_b"}}},
    // Constants too long for 32 bits wrap instead of overflowing.
    {"$FFFFFFFF 4294967297 2147483648",
     false,
     {{symInteger, "", -1}, {symInteger, "", 1}, {symInteger, "", -2147483648.0}}},
    {"3000000000.5 0.1234567890123456789",
     false,
     {{symFloat, "", 3000000000.5}, {symFloat, "", 0.1234567890123456789}}},
};

void PrintTo(const ScanCase &c, std::ostream *out)
{
    *out << '"' << c.source << '"';
}

class ScanTable : public testing::TestWithParam<ScanCase> { };

TEST_P(ScanTable, GivesSymbols)
{
    ScanState scan;
    const ScanCase &c = GetParam();
    CLine line;
    line.m_text = c.source;
    line.m_directive = c.directive;
    scan.m_activeExpansions.clear();
    int start = 0;
    for (const Sym &want : c.symbols) {
        ASSERT_EQ(line.GetSymbol(scan, start), want.symbol) << "in: " << c.source << " at " << scan.m_pos;
        start = -1;
        if (!want.text.empty()) {
            EXPECT_EQ(scan.m_text, want.text);
        }
        if (want.symbol == symInteger) {
            EXPECT_EQ(scan.m_intValue, static_cast<int32_t>(want.value));
        }
        if (want.symbol == symFloat) {
            EXPECT_DOUBLE_EQ(scan.m_floatValue, want.value);
        }
    }
    EXPECT_EQ(line.GetSymbol(scan, start), symEndOfLine) << c.source;
    EXPECT_EQ(line.GetSymbol(scan, -1), symEndOfLine) << "end of line repeats";
}

INSTANTIATE_TEST_SUITE_P(Snippets, ScanTable, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ScanCase> &info) {
                             return StableTestName(info.param.source, info.index);
                         });

TEST(Scanner, UnclosedStringKeepsItsTextWithoutTheTerminator)
{
    ScanState scan;
    CLine line;
    line.m_text = "\"abc";
    EXPECT_EQ(line.GetSymbol(scan, 0), symEndOfLine);
    EXPECT_EQ(scan.m_text, "abc");
}

TEST(Scanner, PositionIndexesCharacterAfterSymbol)
{
    ScanState scan;
    CLine line;
    line.m_text = "label: PRINT";
    EXPECT_EQ(line.GetSymbol(scan, 0), symIdent);
    EXPECT_EQ(scan.m_pos, 5);
    EXPECT_EQ(line.GetSymbol(scan, -1), symColon);
    EXPECT_EQ(scan.m_pos, 6);
    EXPECT_EQ(line.GetSymbol(scan, -1), symPRINT);
    EXPECT_EQ(scan.m_pos, 12);
}

TEST(Scanner, WordTextSurvivesNumbersAndOperators)
{
    ScanState scan;
    CLine line;
    line.m_text = "Count + 5";
    line.GetSymbol(scan, 0);
    line.GetSymbol(scan, -1);
    line.GetSymbol(scan, -1);
    EXPECT_EQ(scan.m_text, "Count");
}

TEST(Scanner, EndOfExpansionMarkPopsActiveExpansion)
{
    ScanState scan;
    CLine line;
    line.m_text = "x\x03 y\x03z";
    scan.m_activeExpansions = {"OUTER", "INNER"};
    EXPECT_EQ(line.GetSymbol(scan, 0), symIdent);
    EXPECT_EQ(line.GetSymbol(scan, -1), symIdent);
    EXPECT_EQ(scan.m_text, "y");
    EXPECT_EQ(scan.m_activeExpansions, std::vector<std::string>{"OUTER"});
    EXPECT_EQ(line.GetSymbol(scan, -1), symIdent);
    EXPECT_TRUE(scan.m_activeExpansions.empty());
    EXPECT_EQ(line.m_text, "x yz"); // both marks deleted from the text
}

TEST(Scanner, MarkWithoutActiveExpansionIsBlank)
{
    ScanState scan;
    CLine line;
    line.m_text = "a\x03"
                  "b";
    scan.m_activeExpansions.clear();
    line.GetSymbol(scan, 0);
    EXPECT_EQ(line.GetSymbol(scan, -1), symIdent);
    EXPECT_EQ(line.m_text,
              "a\x03"
              "b");
}

TEST(Keywords, TableHas176WordsAndEveryTokenText)
{
    int keywords = 0;
    for (int s = 0; s < symCount; ++s)
        keywords += CKeywords::Instance().Info(s) != nullptr;
    EXPECT_EQ(keywords, CKeywords::kKeywordCount);
    for (int code = 0x80; code <= 0xFE; ++code) {
        const std::string text = TokenText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_LE(text.size(), 11u) << code;
    }
    EXPECT_STREQ(TokenText(0xFF), "");
    EXPECT_STREQ(TokenText(0x86), " TO ");
    EXPECT_STREQ(TokenText(0xAD), "GRAFIX ");
}

TEST(Keywords, TokenOfEveryWrittenKeywordListsUnderItsOwnName)
{
    for (int s = symIF; s <= symUSING; ++s) {
        const KeywordInfo *info = CKeywords::Instance().Info(s);
        ASSERT_NE(info, nullptr) << s;
        if (info->token < 0 || info->number >= 0)
            continue;
        std::string text = TokenText(info->token);
        text.erase(0, text.find_first_not_of(' '));
        text.erase(text.find_last_not_of(' ') + 1);
        EXPECT_EQ(text, info->name);
    }
}

TEST(Keywords, NumberedFamiliesAreConsecutive)
{
    EXPECT_EQ(KeywordToken(symPWM0 + 5), 0xCB);
    EXPECT_EQ(KeywordNumber(symPWM0 + 5), 5);
    EXPECT_EQ(KeywordToken(symCOUNTER0 + 2), 0xCF);
    EXPECT_EQ(KeywordNumber(symCOUNTER0 + 2), 2);
    EXPECT_EQ(KeywordToken(symBARGRAPH), 0xAD);
    EXPECT_EQ(KeywordNumber(symBARGRAPH), 6);
    EXPECT_EQ(KeywordToken(symMod), -1);
}

TEST(Keywords, LookupLeavesSymbolAloneForNonKeyword)
{
    ScanState scan;
    scan.m_symbol = symComma;
    EXPECT_FALSE(LookupKeyword("Pwm8", scan.m_symbol));
    EXPECT_EQ(scan.m_symbol, symComma);
    EXPECT_TRUE(LookupKeyword("setStepper", scan.m_symbol));
    EXPECT_EQ(scan.m_symbol, symSETSTEPPER);
    EXPECT_FALSE(LookupKeyword("IFDEF", scan.m_symbol)); // directives only with "#"
}

} // namespace
