// The keyword table as the simulator reads it (token code and digit back to
// the keyword) and as the editor uses it (word classes, completion hints,
// argument syntax rows).
#include "lang/ArgumentSyntax.h"
#include "lang/Builtins.h"
#include "lang/CharClass.h"
#include "lang/CompletionHints.h"
#include "lang/Keywords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace {

using namespace velmo::lang;

const CKeywords &Table()
{
    return CKeywords::Instance();
}

TEST(KeywordTable, EveryWrittenKeywordIsFoundByItsTokenAndDigit)
{
    int written = 0;
    for (const KeywordInfo &k : Table().All()) {
        if (k.token < 0)
            continue;
        ++written;
        EXPECT_EQ(Table().ByToken(k.token, k.number), &k) << k.name;
        const KeywordInfo *first = Table().ByToken(k.token);
        ASSERT_NE(first, nullptr) << k.name;
        EXPECT_LE(first->number, 0) << k.name;
        EXPECT_EQ(KeywordToken(first->symbol), k.token) << k.name;
    }
    EXPECT_EQ(written, CKeywords::kKeywordCount - 8 - 8); // 8 operators and file words, 8 directives
}

TEST(KeywordTable, NamesSymbolsAndTokenDigitsAreUnique)
{
    std::set<std::string> names;
    std::set<int> symbols;
    std::set<std::pair<int, int>> codes;
    for (const KeywordInfo &k : Table().All()) {
        EXPECT_TRUE(names.insert(k.name).second) << k.name;
        EXPECT_TRUE(symbols.insert(k.symbol).second) << k.name;
        if (k.token >= 0) {
            EXPECT_TRUE(codes.insert({k.token, k.number}).second) << k.name;
        }
        EXPECT_EQ(Table().Info(k.symbol), &k) << k.name;
        EXPECT_EQ(Table().FindWord(k.name), &k) << k.name;
    }
    EXPECT_EQ(names.size(), size_t(CKeywords::kKeywordCount));
}

// The scanner's look-up takes a word in any letter case and only whole: a
// keyword with a letter more or less, or a name that merely shares its
// length and first and last letters, is no keyword.
TEST(KeywordTable, WordsAreFoundInAnyCaseAndOnlyWhole)
{
    for (const KeywordInfo &k : Table().All()) {
        std::string lower = k.name;
        for (char &c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        EXPECT_EQ(Table().FindWord(lower), &k) << lower;
        const std::string longer = std::string(k.name) + "Q";
        const std::string shorter = std::string(k.name).substr(0, std::string_view(k.name).size() - 1);
        for (const std::string &other : {longer, shorter}) {
            const KeywordInfo *found = Table().FindWord(other);
            EXPECT_TRUE(!found || found->name == other) << other;
        }
    }
    const char *const notKeywords[] = {
        "", "PRIMT", "PXINT", "TOTAL", "lbl12", "IFF", "_", "PRINT_", "AVERYLONGNAMETHATNOKEYWORDHAS"};
    for (const char *word : notKeywords)
        EXPECT_EQ(Table().FindWord(word), nullptr) << word;
}

// A numbered family's members carry the digits 0..n-1 and its name plus the
// digit; every other keyword is written without a digit.
TEST(KeywordTable, FamilyMembersAreNumberedFromZero)
{
    for (const KeywordInfo &k : Table().All()) {
        if (k.number < 0)
            continue;
        EXPECT_GE(k.token, 0x80) << k.name;
        if (k.number > 0) {
            EXPECT_NE(Table().ByToken(k.token, k.number - 1), nullptr) << k.name;
        }
        if (k.wordClass == WordClass::Variable) {
            const std::string name = k.name;
            EXPECT_EQ(name.back(), char('0' + k.number)) << name;
        }
    }
}

struct TokenCase {
    int code;
    int digit;
    const char *name; // nullptr: no keyword is written so
};

const TokenCase kTokenCases[] = {
    {0x80, -1, "IF"},     {0xAA, -1, "PRINT"}, {0xFE, -1, "USING"}, {0xCB, -1, "PWM0"},    {0xCB, 3, "PWM3"},
    {0xCB, 8, nullptr},   {0xCC, 9, "PORT9"},  {0xCC, 10, nullptr}, {0xCA, 7, "ADC7"},     {0xD3, 3, "STEPPER3"},
    {0xD3, 4, nullptr},   {0xAD, -1, "PLOT"},  {0xAD, 1, "DRAW"},   {0xAD, 6, "BARGRAPH"}, {0xAD, 7, nullptr},
    {0xBF, -1, nullptr},  {0xCE, -1, nullptr}, {0x7F, -1, nullptr}, {0xFF, -1, nullptr},   {-1, -1, nullptr},
    {0x100, -1, nullptr}, {0x80, 0, nullptr},
};

TEST(KeywordTable, DecodesTokenCodesAndDigits)
{
    for (const TokenCase &c : kTokenCases) {
        const KeywordInfo *k = Table().ByToken(c.code, c.digit);
        if (!c.name)
            EXPECT_EQ(k, nullptr) << c.code << " " << c.digit;
        else
            EXPECT_STREQ(k ? k->name : "(none)", c.name) << c.code << " " << c.digit;
    }
}

// The family a completion word such as "Adc" stands for: its first member.
const KeywordInfo *KeywordOfHint(const Hint &hint)
{
    std::string word = hint.insertText;
    if (const KeywordInfo *k = Table().FindWord(word))
        return k;
    return Table().FindWord(word + "0");
}

TEST(CompletionHints, EveryWordIsAKeywordOfItsKind)
{
    std::set<std::string> words;
    for (const Hint &hint : CompletionHints()) {
        const KeywordInfo *k = KeywordOfHint(hint);
        ASSERT_NE(k, nullptr) << hint.insertText;
        EXPECT_EQ(k->wordClass, hint.kind) << hint.insertText;
        EXPECT_TRUE(words.insert(k->name).second) << hint.insertText << " twice";
    }
    EXPECT_EQ(CompletionHints().size(), 139u);
}

// Functions, system variables, types, print formats, operators, constants and
// directives are all offered; only some statement words are left out.
TEST(CompletionHints, OfferEveryWordThatIsNoStatement)
{
    std::set<std::string> offered;
    for (const Hint &hint : CompletionHints())
        offered.insert(KeywordOfHint(hint)->name);
    for (const KeywordInfo &k : Table().All()) {
        const bool statement = k.wordClass == WordClass::Keyword || k.wordClass == WordClass::Command ||
            k.wordClass == WordClass::FileMode;
        if (statement || (k.wordClass == WordClass::Variable && k.number > 0))
            continue;
        EXPECT_TRUE(offered.count(k.name)) << k.name;
    }
}

TEST(ArgumentSyntax, EveryRowBelongsToAStatementAndNamesItsKinds)
{
    int rows = 0;
    for (const KeywordInfo &k : Table().All()) {
        const char *row = ArgumentSyntax(k.symbol);
        if (!row)
            continue;
        ++rows;
        EXPECT_TRUE(k.wordClass == WordClass::Command || k.wordClass == WordClass::Keyword) << k.name;
        for (const char *c = row; *c; ++c) {
            if (IsWordStart(*c)) {
                EXPECT_NE(ArgumentKindName(*c), nullptr) << k.name << " '" << *c << "'";
            }
        }
    }
    EXPECT_EQ(rows, 46);
    for (const char punctuation : {',', '[', ']', '{', '}', '!'})
        EXPECT_EQ(ArgumentKindName(punctuation), nullptr) << punctuation;
}

// Every function keyword has an argument shape and every system variable a
// row; a family member finds its family's row; suffix words are members of a
// suffix set of the same kind.
TEST(Builtins, FunctionsAndSystemVariablesAreTheKeywordsOfTheirClass)
{
    std::set<int> suffixWords;
    for (const Suffix suffix : {Suffix::Stepper, Suffix::Time, Suffix::Date}) {
        const SuffixSet *set = FindSuffixSet(suffix);
        ASSERT_NE(set, nullptr);
        for (const TSYMBOL member : set->members) {
            suffixWords.insert(member);
            EXPECT_EQ(Table().Info(member)->wordClass, WordClass::Variable);
        }
    }
    for (const KeywordInfo &k : Table().All()) {
        EXPECT_EQ(FindFunction(k.symbol) != nullptr, k.wordClass == WordClass::Function) << k.name;
        const SysVar *sysVar = FindSysVar(k.symbol);
        if (k.wordClass == WordClass::Variable && !suffixWords.count(k.symbol)) {
            EXPECT_NE(sysVar, nullptr) << k.name;
        }
        if (!sysVar)
            continue;
        EXPECT_TRUE(k.wordClass == WordClass::Variable || k.wordClass == WordClass::Constant) << k.name;
        EXPECT_EQ(KeywordToken(sysVar->first), k.token) << k.name;
        EXPECT_LE(KeywordNumber(sysVar->first), 0) << k.name;
    }
    EXPECT_EQ(FindSysVar(symIdent), nullptr);
    EXPECT_EQ(FindSysVar(symPLOT), nullptr);
    EXPECT_EQ(FindSuffixSet(Suffix::PortBit), nullptr);
}

TEST(WordClasses, TheEditorShowsTheStatementTypeAndOperatorClassesAsReserved)
{
    const std::pair<WordClass, bool> kCases[] = {
        {WordClass::Type, true},      {WordClass::Format, true},    {WordClass::Keyword, true},
        {WordClass::Command, true},   {WordClass::Operator, true},  {WordClass::Constant, true},
        {WordClass::Function, false}, {WordClass::Variable, false}, {WordClass::Directive, false},
        {WordClass::FileMode, false},
    };
    for (const auto &[wordClass, reserved] : kCases)
        EXPECT_EQ(IsReservedWordClass(wordClass), reserved) << int(wordClass);
}

} // namespace
