// The server's text helpers: message framing, file URIs, the scanner's view
// of a line, protocol columns, the manual's descriptions, and the check of
// a program with unsaved text.
#include "Documents.h"
#include "KeywordHelp.h"
#include "LineTokens.h"
#include "MessageReader.h"
#include "ProgramIndex.h"

#include <gtest/gtest.h>

namespace velmo::ls {
namespace {

using namespace velmo::lang;

// --- Framing ------------------------------------------------------------------

struct FramingCase {
    const char *name;
    std::vector<std::string> chunks;
    std::vector<std::string> bodies; // what Next yields, in order
    int errors; // kBadHeader or kTooLarge results
};

const std::vector<FramingCase> kFramingCases = {
    {"OneMessage", {"Content-Length: 2\r\n\r\n{}"}, {"{}"}, 0},
    {"TwoInOneChunk", {"Content-Length: 1\r\n\r\nAContent-Length: 2\r\n\r\nBC"}, {"A", "BC"}, 0},
    {"SplitInHeader", {"Content-Len", "gth: 3\r", "\n\r\nabc"}, {"abc"}, 0},
    {"SplitInBody", {"Content-Length: 4\r\n\r\nab", "cd"}, {"abcd"}, 0},
    {"OtherHeadersAndCase", {"Content-Type: utf-8\r\ncontent-length:3\r\n\r\nxyz"}, {"xyz"}, 0},
    {"MissingLengthThenGood", {"X: 1\r\n\r\nContent-Length: 1\r\n\r\nq"}, {"q"}, 1},
    {"NegativeLength", {"Content-Length: -1\r\n\r\nContent-Length: 1\r\n\r\nq"}, {"q"}, 1},
    {"TooLargeIsSkipped", {"Content-Length: 99999999999\r\n\r\n"}, {}, 1},
    {"IncompleteBodyWaits", {"Content-Length: 10\r\n\r\nshort"}, {}, 0},
    {"EmptyBody", {"Content-Length: 0\r\n\r\n"}, {""}, 0},
    {"GarbageBeforeHeader", {"{}}Content-Length: 2\r\n\r\nok"}, {"ok"}, 0},
};

class Framing : public ::testing::TestWithParam<FramingCase> { };

TEST_P(Framing, CutsTheStreamIntoBodies)
{
    CMessageReader reader;
    std::vector<std::string> bodies;
    int errors = 0;
    for (const std::string &chunk : GetParam().chunks) {
        reader.Feed(chunk);
        std::string body;
        for (CMessageReader::Result r; (r = reader.Next(body)) != CMessageReader::kNone;) {
            if (r == CMessageReader::kMessage)
                bodies.push_back(body);
            else
                ++errors;
        }
    }
    EXPECT_EQ(bodies, GetParam().bodies);
    EXPECT_EQ(errors, GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(Ls, Framing, ::testing::ValuesIn(kFramingCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FramingTest, SkippedBodyBytesAreDroppedAcrossChunks)
{
    CMessageReader reader;
    std::string body;
    reader.Feed("Content-Length: " + std::to_string(kMaxMessageBytes + 3) + "\r\n\r\nab");
    EXPECT_EQ(reader.Next(body), CMessageReader::kTooLarge);
    reader.Feed(std::string(kMaxMessageBytes + 1, 'z') + "Content-Length: 1\r\n\r\nk");
    EXPECT_EQ(reader.Next(body), CMessageReader::kMessage);
    EXPECT_EQ(body, "k");
}

TEST(FramingTest, FrameAddsTheLength)
{
    EXPECT_EQ(FrameMessage("{\"a\":1}"), "Content-Length: 7\r\n\r\n{\"a\":1}");
}

// --- URIs ---------------------------------------------------------------------------

struct UriCase {
    const char *uri;
    const char *path;
};

const UriCase kUriCases[] = {
    {"file:///home/u/prog.bas", "/home/u/prog.bas"},
    {"file:///home/u/my%20prog.bas", "/home/u/my prog.bas"},
    {"file://localhost/tmp/a.bas", "/tmp/a.bas"},
    {"file:///tmp/%C3%A4.bas", "/tmp/\xC3\xA4.bas"},
    {"file:///tmp/bad%zz.bas", "/tmp/bad%zz.bas"},
    {"file:///tmp/nul%00.bas", ""},
    {"http://host/a.bas", ""},
    {"file:", ""},
};

class Uris : public ::testing::TestWithParam<UriCase> { };

TEST_P(Uris, GiveThePath)
{
    EXPECT_EQ(UriToPath(GetParam().uri), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Ls, Uris, ::testing::ValuesIn(kUriCases));

TEST(UriTest, PathsSurviveTheRoundTrip)
{
    for (const char *path : {"/a b/c#d.bas", "/x/\xC3\xA4%.bas", "/plain/file.bas"})
        EXPECT_EQ(UriToPath(PathToUri(path)), path);
}

// --- Lines and tokens ------------------------------------------------------------------

TEST(LinesTest, SplitAtNewlinesDroppingCarriageReturns)
{
    EXPECT_EQ(SplitLines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitLines(""), (std::vector<std::string>{""}));
}

struct ScanCase {
    const char *line;
    std::vector<std::pair<int, int>> ranges; // [start, end) of each token
    std::vector<TSYMBOL> symbols;
};

const std::vector<ScanCase> kScanCases = {
    {"  count = count + 1",
     {{2, 7}, {8, 9}, {10, 15}, {16, 17}, {18, 19}},
     {symIdent, symEqual, symIdent, symPlus, symInteger}},
    {"PRINT \"a:b\" ' note", {{0, 5}, {6, 11}, {12, 18}}, {symPRINT, symString, symEndOfLine}},
    {"#DEFINE LIMIT 5", {{0, 7}, {8, 13}, {14, 15}}, {symDirDEFINE, symIdent, symInteger}},
    {"x = \"open", {{0, 1}, {2, 3}, {4, 9}}, {symIdent, symEqual, symEndOfLine}},
    {"start: GOTO start", {{0, 5}, {5, 6}, {7, 11}, {12, 17}}, {symIdent, symColon, symGOTO, symIdent}},
    {"a<>b", {{0, 1}, {1, 3}, {3, 4}}, {symIdent, symNotEqual, symIdent}},
    {"", {}, {}},
};

class Scanning : public ::testing::TestWithParam<ScanCase> { };

TEST_P(Scanning, GivesTheScannersSymbolsWithTheirRanges)
{
    const std::vector<LineToken> tokens = ScanLine(GetParam().line);
    std::vector<std::pair<int, int>> ranges;
    std::vector<TSYMBOL> symbols;
    for (const LineToken &token : tokens) {
        ranges.emplace_back(token.start, token.end);
        symbols.push_back(token.symbol);
    }
    EXPECT_EQ(ranges, GetParam().ranges);
    EXPECT_EQ(symbols, GetParam().symbols);
}

INSTANTIATE_TEST_SUITE_P(Ls, Scanning, ::testing::ValuesIn(kScanCases));

TEST(ScanningTest, CommentIsMarked)
{
    const std::vector<LineToken> tokens = ScanLine("x = 1 ' note");
    ASSERT_FALSE(tokens.empty());
    EXPECT_TRUE(tokens.back().comment);
    EXPECT_FALSE(ScanLine("x = \"open").back().comment);
}

struct ColumnCase {
    const char *line;
    size_t byte;
    int utf16;
};

const ColumnCase kColumnCases[] = {
    {"abc", 2, 2},
    {"\xC3\xA4x", 2, 1}, // a two-byte character is one unit
    {"\xF0\x9F\x98\x80x", 4, 2}, // a four-byte character is a surrogate pair
    {"\xE2\x82\xAC=", 3, 1},
    {"ab", 2, 2},
};

class Columns : public ::testing::TestWithParam<ColumnCase> { };

TEST_P(Columns, CountUtf16UnitsBothWays)
{
    EXPECT_EQ(Utf16Column(GetParam().line, GetParam().byte), GetParam().utf16);
    EXPECT_EQ(ByteIndex(GetParam().line, GetParam().utf16), GetParam().byte);
}

INSTANTIATE_TEST_SUITE_P(Ls, Columns, ::testing::ValuesIn(kColumnCases));

TEST(ColumnTest, ColumnPastTheEndStopsAtTheEnd)
{
    EXPECT_EQ(ByteIndex("abc", 99), 3u);
}

TEST(NameTest, KeywordsAndMalformedNamesAreNoNames)
{
    EXPECT_TRUE(IsValidName("counter"));
    EXPECT_TRUE(IsValidName("_x1"));
    EXPECT_FALSE(IsValidName("print"));
    EXPECT_FALSE(IsValidName("9lives"));
    EXPECT_FALSE(IsValidName("a-b"));
    EXPECT_FALSE(IsValidName(""));
}

// --- The manual's descriptions and the syntax lines ------------------------------------------

TEST(ManualTest, FirstSentenceAfterTheSyntaxBoxForEveryNamedKeyword)
{
    const auto descriptions =
        EntryDescriptions("# T\n\n{{entry WAIT, Stop}}\n```syntax\nWAIT x\n```\n\n"
                          "`WAIT` holds *all* work. More text.\n\n{{entry GO}}\n\nGoes on\nand on.\n");
    ASSERT_EQ(descriptions.size(), 3u);
    EXPECT_EQ(descriptions.at("WAIT"), "WAIT holds all work.");
    EXPECT_EQ(descriptions.at("STOP"), "WAIT holds all work.");
    EXPECT_EQ(descriptions.at("GO"), "Goes on and on.");
}

TEST(ManualTest, BuiltInManualDescribesKeywordsAndNumberedFamilies)
{
    EXPECT_NE(ManualDescription("FOR").find("loop variable"), std::string::npos);
    EXPECT_FALSE(ManualDescription("ADC3").empty());
    EXPECT_EQ(ManualDescription("ADC3"), ManualDescription("ADC0"));
    EXPECT_EQ(ManualDescription("NOSUCHWORD"), "");
}

struct SyntaxCase {
    const char *keyword;
    const char *line;
    std::vector<std::string> arguments;
};

const std::vector<SyntaxCase> kSyntaxCases = {
    {"SOUND", "SOUND expression [, expression]", {"expression", "expression"}},
    {"PUT", "PUT [#device,] expression [, expression]", {"[#device,]", "expression", "expression"}},
    {"MIN", "MIN(a,b)", {"a", "b"}},
    {"CLS", "CLS", {}},
    {"ADC2", "ADC2n", {}},
};

class Syntaxes : public ::testing::TestWithParam<SyntaxCase> { };

TEST_P(Syntaxes, ComeFromTheLanguageTables)
{
    const KeywordInfo *keyword = CKeywords::Instance().Find(GetParam().keyword);
    ASSERT_NE(keyword, nullptr);
    EXPECT_EQ(SyntaxLine(*keyword), GetParam().line);
    EXPECT_EQ(SyntaxArguments(*keyword), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(Ls, Syntaxes, ::testing::ValuesIn(kSyntaxCases));

// --- A check of unsaved text ----------------------------------------------------------------

class FixedSources : public CSourceProvider {
public:
    bool Contents(const std::string &path, std::string &text) const override
    {
        if (path == "/virtual/main.bas")
            text = "#INCLUDE \"part\"\nLONG big[4]\nstart:\nbig = 1\n";
        else if (path == "/virtual/part.bas")
            text = "#DEFINE ANSWER 42\nWORD small\n";
        else
            return false;
        return true;
    }
};

TEST(ProgramIndexTest, ChecksTextThatIsOnNoDisk)
{
    CProgramIndex index;
    index.Build("/virtual/main.bas", FixedSources());
    EXPECT_EQ(index.Files(), (std::vector<std::string>{"/virtual/main.bas", "/virtual/part.bas"}));
    ASSERT_EQ(index.Find("big").size(), 1u);
    EXPECT_EQ(index.Find("BIG")[0]->detail, "LONG big[4]");
    EXPECT_EQ(index.Find("big")[0]->line, 1);
    ASSERT_EQ(index.Find("answer").size(), 1u);
    EXPECT_EQ(index.Find("answer")[0]->detail, "#DEFINE ANSWER 42");
    EXPECT_EQ(index.Find("answer")[0]->path, "/virtual/part.bas");
    ASSERT_EQ(index.Find("start").size(), 1u);
    EXPECT_EQ(index.Find("start")[0]->kind, SymbolKind::kLabel);
    ASSERT_EQ(index.Includes().size(), 1u);
    EXPECT_EQ(index.Includes()[0].included, "/virtual/part.bas");
    // "big = 1" assigns to a whole array: the engine's message, on its line.
    const std::vector<Diagnostic> messages = index.DiagnosticsFor("/virtual/main.bas");
    ASSERT_FALSE(messages.empty());
    for (const Diagnostic &message : messages)
        EXPECT_EQ(message.line, 3) << message.message;
}

TEST(ProgramIndexTest, MainFileThatCannotBeReadIsReported)
{
    CProgramIndex index;
    index.Build("/virtual/missing.bas", FixedSources());
    const std::vector<Diagnostic> messages = index.DiagnosticsFor("/virtual/missing.bas");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].message.find("Can't open file"), std::string::npos);
}

} // namespace
} // namespace velmo::ls
