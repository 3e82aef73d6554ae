// Macro definitions and the expansion of one line, checked on the text the
// directive pass leaves for the statement compiler.
#include "Compiler.h"
#include "Preprocessor.h"
#include "Source.h"

#include "TestNames.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct ExpansionCase {
    const char *name;
    std::vector<std::string> definitions; // texts of #DEFINE lines after the directive
    std::string line;
    std::string expanded; // the line's text afterwards
    std::string message; // the diagnostic, "" for none
};

// The line is the file's line 4, so a message reads "/p/m.bas(4): ...".
std::string Expand(const ExpansionCase &c, std::string &output)
{
    std::ostringstream out;
    CCompiler compiler(out);
    compiler.m_files.FindOrAdd("/p/m.bas");
    for (const std::string &definition : c.definitions) {
        EXPECT_TRUE(DefineMacro(compiler, definition)) << definition;
    }
    CLine line;
    line.m_text = c.line;
    line.m_lineNumber = 4;
    ExpandMacros(compiler, line);
    output = out.str();
    return line.m_text;
}

void PrintTo(const ExpansionCase &c, std::ostream *os)
{
    *os << c.line;
}

class MacroExpansion : public testing::TestWithParam<ExpansionCase> { };

TEST_P(MacroExpansion, GivesText)
{
    std::string output;
    EXPECT_EQ(Expand(GetParam(), output), GetParam().expanded);
    const std::string message = GetParam().message;
    EXPECT_EQ(output, message.empty() ? "" : "/p/m.bas(4): " + message + "\n");
}

// clang-format off
const ExpansionCase kExpansions[] = {
  {"NoMacro", {"X 1"}, "PRINT a, \"X\" ' X", "PRINT a, \"X\" ' X", ""},
  // Words the scanner cuts out of numbers: a line is never taken for one
  // without macro uses because its words hide behind digits.
  {"AfterHexDigits", {"X 1"}, "a = $FFX", "a = $FF1", ""},
  {"AfterBinaryDigits", {"X 1"}, "a = %10X", "a = %101", ""},
  {"AfterDecimalDigits", {"abc 2"}, "a = 12abc", "a = 122", ""},
  {"AfterFloat", {"e 3"}, "a = 1.5e", "a = 1.53", ""},
  // Strings and the comment are passed over; a use after a string is not.
  {"AfterString", {"X 1"}, "PRINT \"X'\", X ' X", "PRINT \"X'\", 1 ' X", ""},
  {"InUnclosedString", {"X 1"}, "PRINT \"a X", "PRINT \"a X", ""},
  {"AnyCase", {"Size 10"}, "PRINT SIZE, size, Size", "PRINT 10, 10, 10", ""},
  {"BodyTrimmed", {"N \t 5 \t"}, "x = N+1", "x = 5+1", ""},
  {"EmptyBody", {"E"}, "PRINT 1 E, E 2", "PRINT 1 ,  2", ""},
  {"KeywordNeverExpanded", {"PRINT 1", "X 2"}, "PRINT X", "PRINT 2", ""},
  {"ArgumentAsText", {"SQUARE(x) x*x"}, "PRINT SQUARE(a+1)", "PRINT a+1*a+1", ""},
  {"BlankBeforeParenthesis", {"TWICE (x) x*2"}, "PRINT TWICE", "PRINT (x) x*2", ""},
  {"ArgumentsTrimmed", {"F(a, b) a-b"}, "PRINT F(  1 ,\t2  )", "PRINT 1-2", ""},
  {"BlanksBeforeArguments", {"F(a,b) a-b"}, "PRINT F  (1,2)", "PRINT 1-2", ""},
  {"NestedParentheses", {"F(a,b) a-b"}, "PRINT F((1,2),(3))", "PRINT (1,2)-(3)", ""},
  {"CommaInBrackets", {"F(a,b) a=b"}, "F(x[1,2], [3,4])", "x[1,2]=[3,4]", ""},
  {"CommaInString", {"F(a,b) a;b"}, "F(\"1,)2\", 3)", "\"1,)2\";3", ""},
  {"ParameterInStringKept", {"Q(x) PRINT \"x\", x"}, "Q(5)", "PRINT \"x\", 5", ""},
  {"HexNumberIsNoParameter", {"H(FF) $FF+FF"}, "PRINT H(3)", "PRINT $FF+3", ""},
  {"DeviceHashKept", {"OUT(a,b) PRINT #1, a, b"}, "OUT(7, 8)", "PRINT #1, 7, 8", ""},
  {"ArgumentNotSearchedAgain", {"F(a,b) a+b"}, "PRINT F(#1, 5)", "PRINT #1+5", ""},
  {"ZeroParameters", {"Z() 9"}, "PRINT Z()", "PRINT 9()", ""},
  {"MacroInArgument", {"ONE 1", "F(a) (a)"}, "PRINT F(ONE)", "PRINT (1)", ""},
  {"MacroInBody", {"ONE 1", "TWO ONE+ONE"}, "PRINT TWO, TWO", "PRINT 1+1, 1+1", ""},
  {"MutualRecursionStops", {"A B", "B A"}, "PRINT A, B", "PRINT A, B", ""},
  {"SelfReferenceAnyCase", {"cnt cnt+1"}, "PRINT CNT", "PRINT cnt+1", ""},
  {"UsableAgainAfterItsBody", {"P Q+1", "Q 5"}, "PRINT P*P", "PRINT 5+1*5+1", ""},
  {"ArgumentsAcrossBodyEnd", {"G F(1", "F(a,b) a-b"}, "PRINT G,2), G,3)", "PRINT 1-2, 1-3", ""},
  {"SameMacroInItsArgument", {"F(a) [a]"}, "PRINT F(F(1))", "PRINT [F(1)]", ""},
  {"WithoutParenthesis", {"F(a) a"}, "PRINT F + 1", "PRINT  + 1", "Can't expand macro: 'F'."},
  {"NameAsWritten", {"F(a) a"}, "PRINT 2, f", "PRINT 2, ", "Can't expand macro: 'f'."},
  {"EmptyArgument", {"F(a,b) a"}, "PRINT F(1,)", "PRINT (1,)", "Can't expand macro: 'F'."},
  {"NoArgument", {"F(a) a"}, "PRINT F()", "PRINT ()", "Can't expand macro: 'F'."},
  {"TooManyArguments", {"F(a) a"}, "PRINT F(1,2)", "PRINT (1,2)", "Can't expand macro: 'F'."},
  {"TooFewArguments", {"F(a,b) a"}, "PRINT F(1)", "PRINT (1)", "Can't expand macro: 'F'."},
  {"UnclosedList", {"F(a) a"}, "PRINT F((1)", "PRINT ((1)", "Can't expand macro: 'F'."},
  {"StopsAtFirstFailure", {"F(a) a", "ONE 1"}, "PRINT ONE, F, ONE", "PRINT 1, , ONE",
   "Can't expand macro: 'F'."},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Lines, MacroExpansion, testing::ValuesIn(kExpansions),
                         [](const testing::TestParamInfo<ExpansionCase> &info) { return info.param.name; });

// Every level doubles the line: 2^30 characters unless the expansion is bounded.
std::vector<std::string> DoublingMacros(const char *leafBody)
{
    std::vector<std::string> definitions;
    for (int i = 0; i < 30; ++i) {
        const std::string next = std::to_string(i + 1);
        definitions.push_back(
            std::string("M").append(std::to_string(i)).append(" M").append(next).append(" M").append(next));
    }
    definitions.push_back(std::string("M30 ") + leafBody);
    return definitions;
}

TEST(MacroExpansionBound, GrowingLineIsReported)
{
    std::string output;
    const std::string text = Expand({"", DoublingMacros("x"), "PRINT M0", "", ""}, output);
    EXPECT_LE(text.size(), kMaxExpandedLine);
    EXPECT_NE(output.find("): Can't expand macro: 'M"), std::string::npos) << output;
}

// Empty leaves keep the line short, yet the number of uses still doubles.
TEST(MacroExpansionBound, EndlessNumberOfUsesIsReported)
{
    std::string output;
    Expand({"", DoublingMacros(""), "PRINT M0", "", ""}, output);
    EXPECT_NE(output.find("): Can't expand macro: 'M"), std::string::npos) << output;
}

TEST(MacroExpansionBound, LongLineWithinBoundExpands)
{
    std::string output;
    std::string line = "DATA X";
    std::string expected = "DATA 1";
    for (int i = 0; i < 500; ++i) {
        line += ",X";
        expected += ",1";
    }
    EXPECT_EQ(Expand({"", {"X 1"}, line, "", ""}, output), expected);
    EXPECT_EQ(output, "");
}

// A line that is longer than the bound already may still be shortened.
TEST(MacroExpansionBound, LongerLineThatShrinks)
{
    std::string output;
    const std::string tail(kMaxExpandedLine, ' ');
    EXPECT_EQ(Expand({"", {"F(a) a"}, "PRINT F(1)" + tail, "", ""}, output), "PRINT 1" + tail);
    EXPECT_EQ(output, "");
}

struct DefinitionCase {
    const char *text;
    bool accepted;
    const char *body;
    int params;
};

void PrintTo(const DefinitionCase &c, std::ostream *os)
{
    *os << c.text;
}

class MacroDefinition : public testing::TestWithParam<DefinitionCase> { };

TEST_P(MacroDefinition, ParsesParameterList)
{
    std::ostringstream out;
    CCompiler compiler(out);
    EXPECT_EQ(DefineMacro(compiler, GetParam().text), GetParam().accepted);
    if (!GetParam().accepted)
        return;
    const std::string name = std::string(GetParam().text).substr(0, std::string(GetParam().text).find_first_of("( \t"));
    ASSERT_TRUE(LookupMacro(compiler, name));
    EXPECT_EQ(compiler.m_macro.m_body, GetParam().body);
    EXPECT_EQ(compiler.m_macro.m_paramCount, GetParam().params);
}

// clang-format off
const DefinitionCase kDefinitions[] = {
  {"N", true, "", 0},
  {"N 12 ", true, "12", 0},
  {"N (a) a", true, "(a) a", 0},
  {"F() 1", true, "1", 0},
  {"F(a) a", true, "#0", 1},
  {"F( a , b_2 ) b_2 a ab", true, "#1 #0 ab", 2},
  {"F(a) \"a\" a#", true, "\"a\" #0##", 1},
  {"F(a)", true, "", 1},
  {"F(a b) a", false, "", 0},
  {"F(a, a) a", false, "", 0},
  {"F(a, A) a", true, "#0", 2},
  {"F(, a) a", false, "", 0},
  {"F(a,) a", false, "", 0},
  {"F(a,,b) a", false, "", 0},
  {"F(1) 1", false, "", 0},
  {"F(a; b) a", false, "", 0},
  {"F(a", false, "", 0},
  {"F(", false, "", 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Texts, MacroDefinition, testing::ValuesIn(kDefinitions),
                         [](const testing::TestParamInfo<DefinitionCase> &info) {
                             return StableTestName(info.param.text, info.index);
                         });

TEST(DefineList, PredefinedNamesAndValues)
{
    std::ostringstream out;
    CCompiler compiler(out);
    const std::pair<const char *, const char *> names[] = {
        {"NO_CLOCK", "0"},       {"SOFT_CLOCK", "1"},     {"REAL_CLOCK", "2"},   {"RADIO_CLOCK", "3"},
        {"RAISING_EDGE", "0"},   {"FALLING_EDGE", "1"},   {"BOTH_EDGES", "2"},   {"UP_DOWN", "3"},
        {"PHASE", "4"},          {"NET_RS485", "0"},      {"NET_RADIO", "1"},    {"LED_SEG", "0"},
        {"LCD_DOGM8X1", "1"},    {"LCD_DOGM16X2", "2"},   {"LCD_DOGM16X3", "3"}, {"LCD_DOGM128X32", "4"},
        {"LCD_DOGM128X64", "4"}, {"LCD_OLED128X64", "6"}, {"SERIAL_SPI", "0"},   {"SERIAL_COM", "1"},
        {"phone_3x4", "0"},      {"Numeric_4x4", "1"},
    };
    for (const auto &[name, value] : names) {
        ASSERT_TRUE(LookupMacro(compiler, name)) << name;
        EXPECT_EQ(compiler.m_macro.m_body, value) << name;
        EXPECT_EQ(compiler.m_macro.m_paramCount, 0) << name;
    }
    UndefineMacro(compiler, "no_clock");
    EXPECT_FALSE(LookupMacro(compiler, "NO_CLOCK"));
    UndefineMacro(compiler, "NEVER_DEFINED");
    ASSERT_TRUE(DefineMacro(compiler, "real_clock 7"));
    ASSERT_TRUE(LookupMacro(compiler, "REAL_CLOCK"));
    EXPECT_EQ(compiler.m_macro.m_body, "7");
}

// The quick test that spares a line the expansion scan may let a word pass
// that is no macro, but must never stop a macro's name, in any letter case.
TEST(DefineList, NameFilterPassesEveryMacroName)
{
    CDefineList defines;
    const char *const defined[] = {"LIMIT", "limit2", "A", "_x", "Very_Long_Macro_Name_Beyond_Thirty_Two_Letters"};
    for (const char *name : defined)
        defines.Define(name, CMacro());
    const char *const uses[] = {"LIMIT",
                                "limit",
                                "Limit",
                                "LIMIT2",
                                "limit2",
                                "a",
                                "A",
                                "_X",
                                "_x",
                                "NO_CLOCK",
                                "no_clock",
                                "Numeric_4x4",
                                "VERY_LONG_MACRO_NAME_BEYOND_THIRTY_TWO_LETTERS"};
    for (const char *word : uses) {
        EXPECT_TRUE(defines.MayBeMacro(word)) << word;
        EXPECT_NE(defines.Find(word), nullptr) << word;
    }
}

// With hundreds of macros, names of the same first letter and length as
// theirs ("lbl12" beside "LIMIT12") are still nearly all told apart.
TEST(DefineList, NameFilterStopsMostOtherWords)
{
    CDefineList defines;
    for (int i = 0; i < 500; ++i)
        defines.Define("LIMIT" + std::to_string(i), CMacro());
    int passed = 0;
    for (int i = 0; i < 1000; ++i)
        passed += defines.MayBeMacro("lbl" + std::to_string(i)) + defines.MayBeMacro("LIMITS" + std::to_string(i));
    EXPECT_LT(passed, 20) << "of 2000 words that are no macros";
}

} // namespace
