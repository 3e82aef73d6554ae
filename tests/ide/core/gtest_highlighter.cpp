// The Velmo highlighter's tokenizer: every row of the dispatch table, the
// switchable comment styles and the keyword list.
#include "VelmoTokenizer.h"
#include "lang/CharClass.h"
#include "lang/Keywords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using K = TTokenKind;
using Tokens = std::vector<std::pair<K, std::string>>;

Tokens Scan(TVelmoTokenizer &t, const std::string &line)
{
    Tokens tokens;
    for (t.SetLine(line, 0); !t.GetEol(); t.Next())
        tokens.emplace_back(t.GetTokenKind(), std::string(t.GetToken()));
    return tokens;
}

struct Case {
    const char *name;
    std::string line;
    Tokens tokens;
};

class DefaultRules : public ::testing::TestWithParam<Case> { };

TEST_P(DefaultRules, SplitsTheLine)
{
    TVelmoTokenizer t;
    EXPECT_EQ(Scan(t, GetParam().line), GetParam().tokens);
    EXPECT_EQ(t.GetRange(), TRangeState::Normal);
}

const Case kDefaultCases[] = {
    {"empty", "", {}},
    {"lf", "\n", {{K::Space, "\n"}}},
    {"crlf", "\r\n", {{K::Space, "\r\n"}}},
    {"cr_alone", "a\rb", {{K::Identifier, "a"}, {K::Space, "\r"}, {K::Identifier, "b"}}},
    {"space_run", " \t\x01\x0b\x0c\x0e x", {{K::Space, " \t\x01\x0b\x0c\x0e "}, {K::Identifier, "x"}}},
    {"nul_ends_the_line", std::string("a\0b", 3), {{K::Identifier, "a"}}},
    {"keywords_any_case",
     "print Print PRINT",
     {{K::Key, "print"}, {K::Space, " "}, {K::Key, "Print"}, {K::Space, " "}, {K::Key, "PRINT"}}},
    {"compiler_words_are_identifiers",
     "PWM3 SIN TIME",
     {{K::Identifier, "PWM3"}, {K::Space, " "}, {K::Identifier, "SIN"}, {K::Space, " "}, {K::Identifier, "TIME"}}},
    {"words_hold_periods",
     "TIME.HOUR PORT3.7 END.",
     {{K::Identifier, "TIME.HOUR"},
      {K::Space, " "},
      {K::Identifier, "PORT3.7"},
      {K::Space, " "},
      {K::Identifier, "END."}}},
    {"underscore_starts_a_word", "_end", {{K::Identifier, "_end"}}},
    {"comment_mid_line",
     "a=1 ' note",
     {{K::Identifier, "a"}, {K::Unknown, "="}, {K::Number, "1"}, {K::Space, " "}, {K::Comment, "' note"}}},
    {"comment_stops_at_line_end", "' all\r\n", {{K::Comment, "' all"}, {K::Space, "\r\n"}}},
    {"string", "\"a b\"c", {{K::String, "\"a b\""}, {K::Identifier, "c"}}},
    {"empty_string", "\"\"", {{K::String, "\"\""}}},
    {"tripled_quote_skipped", "\"\"\"ab\" x", {{K::String, "\"\"\"ab\""}, {K::Space, " "}, {K::Identifier, "x"}}},
    {"unclosed_string", "\"abc\r\n", {{K::String, "\"abc"}, {K::Space, "\r\n"}}},
    {"directive", "#include \"x\"", {{K::Preprocessor, "#include"}, {K::Space, " "}, {K::String, "\"x\""}}},
    {"channel_is_preprocessor", "#1,", {{K::Preprocessor, "#1"}, {K::Unknown, ","}}},
    {"hex_numbers", "$1F %10g", {{K::Number, "$1F"}, {K::Space, " "}, {K::Number, "%10"}, {K::Identifier, "g"}}},
    {"float", "1.5E3", {{K::Number, "1.5E3"}}},
    {"c_hex", "0x1Fz", {{K::Number, "0x1F"}, {K::Identifier, "z"}}},
    {"range_dots", "1..5", {{K::Number, "1"}, {K::Unknown, "."}, {K::Unknown, "."}, {K::Number, "5"}}},
    {"number_then_word", "12ab", {{K::Number, "12"}, {K::Identifier, "ab"}}},
    {"paren_star_is_symbol",
     "(*x*)",
     {{K::Symbol, "("}, {K::Unknown, "*"}, {K::Identifier, "x"}, {K::Unknown, "*"}, {K::Unknown, ")"}}},
    {"brace_is_symbol", "{x}", {{K::Symbol, "{"}, {K::Identifier, "x"}, {K::Unknown, "}"}}},
    {"slashes_are_symbols", "//", {{K::Symbol, "/"}, {K::Symbol, "/"}}},
    {"semicolon_is_symbol", ";x", {{K::Symbol, ";"}, {K::Identifier, "x"}}},
    {"high_byte_is_other", "\xc3\xa9", {{K::Unknown, "\xc3"}, {K::Unknown, "\xa9"}}},
};

INSTANTIATE_TEST_SUITE_P(Velmo, DefaultRules, ::testing::ValuesIn(kDefaultCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Switched-on comment styles, including comments over several lines.
struct StyleCase {
    const char *name;
    TCommentStyles styles;
    std::vector<std::string> lines;
    std::vector<Tokens> tokens;
    TRangeState endRange;
};

class CommentStyles : public ::testing::TestWithParam<StyleCase> { };

TEST_P(CommentStyles, SplitsTheLines)
{
    TVelmoTokenizer t;
    t.SetComments(GetParam().styles);
    std::vector<Tokens> got;
    for (const std::string &line : GetParam().lines)
        got.push_back(Scan(t, line));
    EXPECT_EQ(got, GetParam().tokens);
    EXPECT_EQ(t.GetRange(), GetParam().endRange);
}

const StyleCase kStyleCases[] = {
    {"ansi_over_lines",
     csAnsiStyle,
     {"a(*b", "c*)d"},
     {{{K::Identifier, "a"}, {K::Comment, "(*b"}}, {{K::Comment, "c*)"}, {K::Identifier, "d"}}},
     TRangeState::Normal},
    {"ansi_open_at_end",
     csAnsiStyle,
     {"(* x\r\n"},
     {{{K::Comment, "(* x"}, {K::Space, "\r\n"}}},
     TRangeState::AnsiComment},
    {"pascal",
     csPasStyle,
     {"{a", "b}c"},
     {{{K::Comment, "{a"}}, {{K::Comment, "b}"}, {K::Identifier, "c"}}},
     TRangeState::Normal},
    {"c_block", csCStyle, {"/* a */b"}, {{{K::Comment, "/* a */"}, {K::Identifier, "b"}}}, TRangeState::Normal},
    {"c_block_open", csCStyle, {"/* a", ""}, {{{K::Comment, "/* a"}}, {}}, TRangeState::CComment},
    {"cpp_line",
     csCPPStyle,
     {"x // y"},
     {{{K::Identifier, "x"}, {K::Space, " "}, {K::Comment, "// y"}}},
     TRangeState::Normal},
    {"asm_line", csAsmStyle, {"; y"}, {{{K::Comment, "; y"}}}, TRangeState::Normal},
    {"apostrophe_off", 0, {"'x"}, {{{K::Symbol, "'"}, {K::Identifier, "x"}}}, TRangeState::Normal},
};

INSTANTIATE_TEST_SUITE_P(Velmo, CommentStyles, ::testing::ValuesIn(kStyleCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Tokenizer, PreprocessorDetectionCanBeSwitchedOff)
{
    TVelmoTokenizer t;
    t.SetDetectPreprocessor(false);
    EXPECT_EQ(Scan(t, "#if x"), (Tokens{{K::Symbol, "#"}, {K::Key, "if"}, {K::Space, " "}, {K::Identifier, "x"}}));
}

TEST(Tokenizer, SingleQuoteDelimiterRebuildsTheDispatch)
{
    TVelmoTokenizer t;
    t.SetStringDelim(TStringDelim::sdSingleQuote);
    EXPECT_EQ(Scan(t, "'a b' \"c"),
              (Tokens{{K::String, "'a b'"}, {K::Space, " "}, {K::Unknown, "\""}, {K::Identifier, "c"}}));
}

TEST(Tokenizer, TokenPositionsAndLineIndex)
{
    TVelmoTokenizer t;
    t.SetLine("if x", 7);
    EXPECT_EQ(t.LineIndex(), 7);
    std::vector<int> positions;
    for (; !t.GetEol(); t.Next())
        positions.push_back(t.GetTokenPos());
    EXPECT_EQ(positions, (std::vector<int>{0, 2, 3}));
}

TEST(Keywords, NinetySortedUpperCaseWords)
{
    const auto &words = VelmoKeywords();
    ASSERT_EQ(words.size(), 90u);
    EXPECT_TRUE(std::is_sorted(words.begin(), words.end()));
    for (const std::string &word : words)
        EXPECT_TRUE(std::none_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; })) << word;
}

// Every keyword of the language's table is coloured exactly when its class
// is one the editor shows as reserved, in any letter case; nothing outside
// the table is coloured.
TEST(Keywords, ColouredWordsAreTheReservedClassesOfTheLanguageTable)
{
    TVelmoTokenizer t;
    size_t reserved = 0;
    for (const velmo::lang::KeywordInfo &k : velmo::lang::CKeywords::Instance().All()) {
        const bool coloured = velmo::lang::IsReservedWordClass(k.wordClass);
        reserved += coloured;
        std::string lower(k.name);
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return char(std::tolower(c)); });
        EXPECT_EQ(t.IsKeyword(k.name), coloured) << k.name;
        EXPECT_EQ(t.IsKeyword(lower), coloured) << lower;
        if (coloured) {
            EXPECT_EQ(Scan(t, lower), (Tokens{{K::Key, lower}})) << lower;
        }
    }
    EXPECT_EQ(reserved, VelmoKeywords().size());
    for (const std::string &word : VelmoKeywords()) {
        const velmo::lang::KeywordInfo *k = velmo::lang::CKeywords::Instance().Find(word);
        ASSERT_NE(k, nullptr) << word;
        EXPECT_TRUE(velmo::lang::IsReservedWordClass(k->wordClass)) << word;
    }
}

TEST(Keywords, LookupIgnoresCase)
{
    TVelmoTokenizer t;
    for (const char *word : {"if", "If", "PI", "bargraph", "Standby", "output", "As", "using", "SPISHIFT"})
        EXPECT_TRUE(t.IsKeyword(word)) << word;
    for (const char *word : {"", "APPEND", "SIN", "RXD", "END.", "I", "ZZZ", "PRINTX", "Aa"})
        EXPECT_FALSE(t.IsKeyword(word)) << word;
}

TEST(Keywords, SettingTheListUpperCasesIt)
{
    TVelmoTokenizer t;
    t.SetKeyWords({"zeta", "Alpha", "mid"});
    EXPECT_EQ(t.KeyWords(), (std::vector<std::string>{"ALPHA", "MID", "ZETA"}));
    EXPECT_TRUE(t.IsKeyword("alpha"));
    EXPECT_TRUE(t.IsKeyword("Zeta"));
    EXPECT_FALSE(t.IsKeyword("print"));
}

TEST(WordCharacters, Tables)
{
    std::string word;
    std::string start;
    for (int c = 0; c < 256; ++c) {
        if (IsIdentifierChar(static_cast<unsigned char>(c)))
            word += static_cast<char>(c);
        if (velmo::lang::IsWordStart(static_cast<char>(c)))
            start += static_cast<char>(c);
    }
    EXPECT_EQ(word, ".0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(start, "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
}

} // namespace
