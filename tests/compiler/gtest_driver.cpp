// The compile run: error cut-off, path rules, reading sources, file list,
// target profiles and the statement loop's program-memory check.
#include "Compiler.h"
#include "LabelPass.h"
#include "LanguageNames.h"
#include "Parser.h"
#include "Paths.h"
#include "Source.h"

#include "TestNames.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int CountLines(const std::string &text, const std::string &needle)
{
    int count = 0;
    for (size_t at = 0; (at = text.find(needle, at)) != std::string::npos; at += needle.size())
        ++count;
    return count;
}

struct CutOffCase {
    int reports;
    int printedMessages;
    bool cutOffLine;
    int finalCount;
};

class ReportErrorCutOff : public testing::TestWithParam<CutOffCase> { };

TEST_P(ReportErrorCutOff, PrintsAtMostTenAndCountsEleven)
{
    std::ostringstream out;
    CCompiler compiler(out);
    compiler.m_files.FindOrAdd("/src/main.bas");
    for (int i = 0; i < GetParam().reports; ++i)
        compiler.ReportError("Syntax error.", 0, i + 1);
    EXPECT_EQ(CountLines(out.str(), "): Syntax error.\n"), GetParam().printedMessages);
    EXPECT_EQ(CountLines(out.str(), "Too many errors.\n"), GetParam().cutOffLine ? 1 : 0);
    EXPECT_EQ(compiler.m_errorCount, GetParam().finalCount);
}

INSTANTIATE_TEST_SUITE_P(Counts, ReportErrorCutOff,
                         testing::Values(CutOffCase{10, 10, false, 10}, CutOffCase{11, 10, true, 11},
                                         CutOffCase{12, 10, true, 11}, CutOffCase{40, 10, true, 11}),
                         [](const testing::TestParamInfo<CutOffCase> &info) {
                             return "Reports" + std::to_string(info.param.reports);
                         });

TEST(ReportError, MessageFormatAndLocations)
{
    std::ostringstream out;
    CCompiler compiler(out);
    compiler.m_files.FindOrAdd("/src/100%.bas");
    compiler.ReportError("Unexpected end of file", 0, -1);
    compiler.ReportError("Can't open file: '/x/%d.bas'.", -1, -1);
    compiler.ReportError("Label 'x' not found.", 0, 7);
    compiler.ReportError("Unknown file index.", 5, 3);
    EXPECT_EQ(out.str(),
              "/src/100%.bas(1): Unexpected end of file\n"
              "Can't open file: '/x/%d.bas'.\n"
              "/src/100%.bas(7): Label 'x' not found.\n"
              "(3): Unknown file index.\n");
}

struct PathCase {
    const char *rule;
    const char *name;
    const char *arg; // extension or base directory
    const char *want;
};

const PathCase kPaths[] = {
    {"default", "prog", ".bas", "prog.bas"},
    {"default", "prog.txt", ".bas", "prog.txt"},
    {"default", "dir.v2/prog", ".bas", "dir.v2/prog.bas"},
    {"default", "dir.v2\\prog", ".bas", "dir.v2\\prog.bas"},
    {"default", "prog.", ".bas", "prog."},
    {"replace", "prog.txt", ".hex", "prog.hex"},
    {"replace", "prog", ".lst", "prog.lst"},
    {"replace", "a.b/prog.bas", ".hex", "a.b/prog.hex"},
    {"replace", "a.b/prog", ".hex", "a.b/prog.hex"},
    {"full", "prog.bas", "/work/src", "/work/src/prog.bas"},
    {"full", "\\prog.bas", "/work/src", "/work/src/prog.bas"},
    {"full", "sub\\lib.bas", "/work/src", "/work/src/sub/lib.bas"},
    {"full", "./a/../b/./c.bas", "/work/src", "/work/src/b/c.bas"},
    {"full", "../../../../x.bas", "/work/src", "/x.bas"},
    {"full", "/abs/x.bas", "/work/src", "/abs/x.bas"},
    {"full", "\\\\abs\\x.bas", "/work/src", "/abs/x.bas"},
    {"full", "x.bas", "/", "/x.bas"},
    {"full", "x.bas", "/work/src/", "/work/src/x.bas"},
    {"dir", "/work/src/prog.bas", "", "/work/src"},
    {"dir", "/prog.bas", "", "/"},
    {"dir", "prog.bas", "", ""},
};

class PathRules : public testing::TestWithParam<PathCase> { };

TEST_P(PathRules, GiveExpectedName)
{
    const PathCase &c = GetParam();
    const std::string rule = c.rule;
    std::string got;
    if (rule == "default")
        got = AddDefaultExtension(c.name, c.arg);
    if (rule == "replace")
        got = ReplaceExtension(c.name, c.arg);
    if (rule == "full")
        got = MakeFullPath(c.name, c.arg);
    if (rule == "dir")
        got = DirectoryOf(c.name);
    EXPECT_EQ(got, c.want) << c.rule << " " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Names, PathRules, testing::ValuesIn(kPaths), [](const testing::TestParamInfo<PathCase> &info) {
    return StableTestName(std::string(info.param.rule) + " " + info.param.name, info.index);
});

TEST(PathRules, RelativeNameUsesCurrentDirectory)
{
    EXPECT_EQ(MakeFullPath("x.bas"), (fs::current_path() / "x.bas").string());
}

TEST(Source, LinesKeepPhysicalNumbersWithoutLeadingBlanks)
{
    CSource source;
    source.SetText("  first\r\n\r\n\t \r\nsecond\n   \nthird");
    ASSERT_EQ(source.Count(), 3);
    EXPECT_EQ(source[0].m_text, "first");
    EXPECT_EQ(source[0].m_lineNumber, 1);
    EXPECT_EQ(source[1].m_text, "second");
    EXPECT_EQ(source[1].m_lineNumber, 4);
    EXPECT_EQ(source[2].m_text, "third");
    EXPECT_EQ(source[2].m_lineNumber, 6);
}

TEST(Source, ReadTranscodesUtf8AndKeepsWindows1252)
{
    const fs::path dir = fs::temp_directory_path() / ("velc-src-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "utf8.bas", std::ios::binary) << "\xEF\xBB\xBFPRINT \"\xC3\xA9\xE2\x82\xAC\xE2\x98\x83\"\n";
    std::ofstream(dir / "ansi.bas", std::ios::binary) << "PRINT \"\xE9\x80\"\n";
    CSource utf8, ansi, missing;
    ASSERT_TRUE(utf8.Read((dir / "utf8.bas").string()));
    ASSERT_TRUE(ansi.Read((dir / "ansi.bas").string()));
    EXPECT_FALSE(missing.Read((dir / "none.bas").string()));
    EXPECT_FALSE(missing.Read(dir.string())); // a directory is not a source file
    fs::remove_all(dir);
    EXPECT_EQ(utf8[0].m_text, "PRINT \"\xE9\x80?\""); // BOM dropped, snowman not in 1252
    EXPECT_EQ(ansi[0].m_text, "PRINT \"\xE9\x80\"");
    EXPECT_EQ(utf8.Name(), (dir / "utf8.bas").string());
}

TEST(CodePage, AnsiAndOemRoundTripForSharedCharacters)
{
    int shared = 0;
    for (int b = 0xA0; b <= 0xFF; ++b) {
        const std::string ansi(1, static_cast<char>(b));
        const std::string oem = AnsiToOem(ansi);
        ASSERT_NE(oem, "?") << "Latin-1 character missing in code page 850: " << b;
        EXPECT_EQ(OemToAnsi(oem), ansi) << b;
        ++shared;
    }
    EXPECT_EQ(shared, 96);
    EXPECT_EQ(OemToAnsi("\xB3"), "?"); // box drawing has no Windows-1252 character
    EXPECT_EQ(AnsiToUtf8("\x80\xE9"), "\xE2\x82\xAC\xC3\xA9");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")); // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(SourceWalker, KeepsDropsAndSplicesInOrder)
{
    CSource source, inserted;
    source.SetText("a\nb\nc\nd");
    inserted.SetText("x\ny");
    {
        CSource::Walker walk(source);
        walk.Keep(); // a
        walk.Drop(); // b
        walk.Splice(inserted); // x y before c
        EXPECT_EQ(walk.KeptCount(), 3);
        EXPECT_EQ(walk.Current().m_text, "c");
        walk.Drop(); // c; d is kept when the walk ends
    }
    ASSERT_EQ(source.Count(), 4);
    EXPECT_EQ(source[0].m_text + source[1].m_text + source[2].m_text + source[3].m_text, "axyd");
    EXPECT_EQ(inserted.Count(), 0);
}

TEST(SourceEdits, RemoveAndInsertAtIndex)
{
    CSource source, other;
    source.SetText("a\nb\nc");
    other.SetText("x");
    source.RemoveAt(1);
    source.InsertAll(1, other);
    ASSERT_EQ(source.Count(), 3);
    EXPECT_EQ(source[1].m_text, "x");
    EXPECT_EQ(other.Count(), 0);
}

TEST(FileList, CaseInsensitiveStableIndices)
{
    CFileList files;
    EXPECT_EQ(files.FindOrAdd("/src/Main.bas"), 0);
    EXPECT_EQ(files.FindOrAdd("/src/lib.bas"), 1);
    EXPECT_EQ(files.FindOrAdd("/SRC/MAIN.BAS"), 0);
    EXPECT_EQ(files.Find("/src/LIB.bas"), 1);
    EXPECT_EQ(files.Find("/src/other.bas"), -1);
    EXPECT_EQ(files.Name(0), "/src/Main.bas");
    EXPECT_EQ(files.Name(2), "");
    EXPECT_EQ(files.Name(-1), "");
}

TEST(Target, ProfilesByName)
{
    TargetProfile target;
    EXPECT_EQ(target.programMemory, 16348);
    EXPECT_EQ(target.maxVariables, 26);
    EXPECT_TRUE(target.SetTarget("zentraview"));
    EXPECT_EQ(target.dataMemory, 2048);
    EXPECT_EQ(target.programMemory, 32768);
    EXPECT_EQ(target.maxArrayLength, 65535);
    EXPECT_EQ(target.maxForNesting, 6);
    EXPECT_FALSE(target.SetTarget("ZENTRA32"));
    EXPECT_EQ(target.maxWhileNesting, 10);
    EXPECT_TRUE(target.SetTarget("Zentra8"));
    EXPECT_EQ(target.maxDoNesting, 5);
}

// Lines of "THEN" give records of 4 bytes (no body); after the statement of
// line n the image holds 4 * (n - 1) + 3 bytes, the closing 0x0A not yet
// counted. The message comes at the first line whose size exceeds the limit.
struct MemoryCase {
    int limit;
    int reportedLine; // 0: no message
};

class ProgramMemory : public testing::TestWithParam<MemoryCase> { };

TEST_P(ProgramMemory, ReportedOnceAtFirstCrossing)
{
    std::ostringstream out;
    CCompiler compiler(out);
    compiler.m_files.FindOrAdd("/p.bas");
    compiler.m_target.programMemory = GetParam().limit;
    CParser parser(compiler);
    CLine line;
    line.m_text = "THEN";
    for (int i = 0; i < 3; ++i) {
        line.m_lineNumber = i + 1;
        parser.CompileLine(i, line);
    }
    parser.Finish(3);
    const std::string message = "Not enough program memory (max. " + std::to_string(GetParam().limit) + " Bytes).\n";
    EXPECT_EQ(compiler.m_codeSize, 3 * 4 + 4);
    if (GetParam().reportedLine == 0) {
        EXPECT_EQ(CountLines(out.str(), "Not enough program memory"), 0) << out.str();
        EXPECT_EQ(compiler.m_codeLimit, GetParam().limit);
        return;
    }
    EXPECT_EQ(CountLines(out.str(), message), 1) << out.str();
    const std::string where = "/p.bas(" + std::to_string(GetParam().reportedLine) + "): Not enough program memory";
    EXPECT_NE(out.str().find(where), std::string::npos) << out.str();
    EXPECT_EQ(compiler.m_codeLimit, INT_MAX);
}

INSTANTIATE_TEST_SUITE_P(Limits, ProgramMemory,
                         testing::Values(MemoryCase{2, 1}, MemoryCase{3, 2}, MemoryCase{6, 2}, MemoryCase{7, 3},
                                         MemoryCase{10, 3}, MemoryCase{11, 0}, MemoryCase{12, 0}),
                         [](const testing::TestParamInfo<MemoryCase> &info) {
                             return "Limit" + std::to_string(info.param.limit);
                         });

TEST(StatementLoop, EveryLineYieldsOneRecordEvenWithErrors)
{
    std::ostringstream out;
    CCompiler compiler(out);
    CParser parser(compiler);
    CLine line;
    line.m_text = "1 2 3";
    parser.CompileLine(0, line);
    parser.Finish(1);
    const std::vector<uint8_t> want = {0x00, 0x01, 0x02, 0x0A, 0x00, 0x02, 0x02, 0x03};
    EXPECT_EQ(compiler.m_code.Bytes(), want);
    EXPECT_EQ(compiler.m_errorCount, 2); // no statement, then a syntax error; rest of line skipped
}

} // namespace

namespace {

// The label pass looks at the start of every line; a label behind blanks of
// any code up to 32 (a control character, a macro's end mark) still counts,
// and a word that is a keyword or is not followed by ":" never does.
TEST(LabelPass, FindsLabelsBehindAnyBlankAndOnlyThere)
{
    std::ostringstream out;
    CCompiler compiler(out);
    compiler.m_files.FindOrAdd("/p.bas");
    CSource source;
    source.SetText("\x01one: PRINT 1\n\x03two :\nPRINT: x = 1\nthree = 2\n4four: END\n_five:\n");
    LabelPass(compiler, source);
    EXPECT_EQ(compiler.m_labels.size(), 3u) << out.str();
    EXPECT_EQ(compiler.m_labels.count("ONE"), 1u);
    EXPECT_EQ(compiler.m_labels.count("two"), 1u);
    EXPECT_EQ(compiler.m_labels.count("_FIVE"), 1u);
    EXPECT_EQ(source.Count(), 4);
    EXPECT_EQ(source[0].m_text, "PRINT 1");
}

} // namespace
