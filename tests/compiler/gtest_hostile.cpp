// Hostile file names and files: the compiler refuses them with one clear
// message instead of crashing, hanging, reading for ever or destroying a
// file, and its messages stay one UTF-8 line each.
#include "Compiler.h"
#include "LanguageNames.h"
#include "Messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class Hostile : public testing::Test {
protected:
    void SetUp() override
    {
        const auto *test = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
            ("velc-hostile-" + std::to_string(getpid()) + "-" + test->test_suite_name() + "-" + test->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::remove_all(m_dir);
    }
    // Compiles a file of the folder in-process and returns what velc printed.
    std::string Compile(const std::string &name)
    {
        std::ostringstream out;
        CCompiler compiler(out);
        compiler.Compile((m_dir / name).string());
        return out.str();
    }
    std::string Dir() const
    {
        return m_dir.string();
    }
    fs::path m_dir;
};

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// --- Include names and include files --------------------------------------

TEST_F(Hostile, NulInIncludeNameIsAnInvalidNameNotAnEndlessRecursion)
{
    WriteFile(m_dir / "a.bas", std::string("#INCLUDE \"a.bas\0/x\"\nEND\n", 23));
    const std::string out = Compile("a.bas");
    EXPECT_TRUE(Contains(out, Dir() + "/a.bas(1): Invalid file name: '" + Dir() + "/a.bas\\x00/x.bas'.\n")) << out;
    EXPECT_TRUE(Contains(out, "1 - Error(s).")) << out;
}

// "f<i>.bas", built without "literal" + std::string, which GCC 12 warns
// about wrongly at -O3.
std::string ChainFile(int i)
{
    std::string name(1, 'f');
    name += std::to_string(i);
    name += ".bas";
    return name;
}

// A chain main -> f1 -> f2 -> ... : 64 levels are fine, the 65th is refused
// at the #INCLUDE line of the file on level 64.
TEST_F(Hostile, IncludeDepthIsBounded)
{
    constexpr int kFiles = kMaxIncludeDepth + 3;
    WriteFile(m_dir / "f0.bas", "#INCLUDE \"f1\"\nEND\n");
    for (int i = 1; i <= kFiles; ++i)
        WriteFile(m_dir / ChainFile(i), "#INCLUDE \"" + ChainFile(i + 1) + "\"\n");
    const std::string out = Compile("f0.bas");
    const std::string deepest = ChainFile(kMaxIncludeDepth);
    EXPECT_TRUE(Contains(out, "  >> " + Dir() + "/" + deepest + "\n")) << out;
    EXPECT_FALSE(Contains(out, "/" + ChainFile(kMaxIncludeDepth + 1) + "\n")) << out;
    EXPECT_TRUE(Contains(out, Dir() + "/" + deepest + "(1): Include files nested too deeply (max. 64 levels).\n"))
        << out;
    EXPECT_TRUE(Contains(out, "1 - Error(s).")) << out;
}

struct RefusedFile {
    const char *name;
    std::function<void(const fs::path &)> make; // makes "x.bas" in the folder
    const char *message; // with "{X}" for the file's full path
};

const RefusedFile kRefusedFiles[] = {
    {"Fifo", [](const fs::path &dir) { ASSERT_EQ(::mkfifo((dir / "x.bas").c_str(), 0600), 0); },
     "Not a regular file: '{X}'."},
    {"LinkToDevZero", [](const fs::path &dir) { fs::create_symlink("/dev/zero", dir / "x.bas"); },
     "Not a regular file: '{X}'."},
    {"AboveSizeLimit",
     [](const fs::path &dir) {
         WriteFile(dir / "x.bas", "");
         fs::resize_file(dir / "x.bas", kMaxSourceBytes + 1); // sparse: no disk space used
     },
     "File too large (max. 64 MB): '{X}'."},
    {"Folder", [](const fs::path &dir) { fs::create_directory(dir / "x.bas"); }, "Can't open file: '{X}'."},
};

// The message with "{X}" replaced by the path.
std::string Filled(const std::string &message, const std::string &path)
{
    const size_t at = message.find("{X}");
    return message.substr(0, at) + path + message.substr(at + 3);
}

class RefusedInclude : public Hostile, public testing::WithParamInterface<RefusedFile> { };

TEST_P(RefusedInclude, ReportedAtTheIncludeLine)
{
    GetParam().make(m_dir);
    WriteFile(m_dir / "prog.bas", "' reads x\n#INCLUDE \"x\"\nEND\n");
    const std::string out = Compile("prog.bas");
    const std::string message = Filled(GetParam().message, Dir() + "/x.bas");
    EXPECT_TRUE(Contains(out, Dir() + "/prog.bas(2): " + message + "\n")) << out;
    EXPECT_TRUE(Contains(out, "1 - Error(s).")) << out;
}

TEST_P(RefusedInclude, ReportedWithoutLocationForTheMainFile)
{
    GetParam().make(m_dir);
    const std::string out = Compile("x.bas");
    const std::string message = Filled(GetParam().message, Dir() + "/x.bas");
    EXPECT_TRUE(Contains(out, "\nCompiling...\n" + message + "\n")) << out;
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedInclude, testing::ValuesIn(kRefusedFiles),
                         [](const testing::TestParamInfo<RefusedFile> &info) { return info.param.name; });

// --- Output files ----------------------------------------------------------

struct SourceNamedLikeOutput {
    const char *name;
    const char *source; // compiled file
    const char *clobbered; // the source file an output would replace
    const char *includeLine; // in the compiled file, or ""
};

const SourceNamedLikeOutput kSourcesNamedLikeOutputs[] = {
    {"ListingAsSource", "notes.lst", "notes.lst", ""},
    {"HexAsSource", "prog.hex", "prog.hex", ""},
    {"IncludedHex", "prog.bas", "prog.hex", "#INCLUDE \"prog.hex\"\n"},
};

class OutputReplacesSource : public Hostile, public testing::WithParamInterface<SourceNamedLikeOutput> { };

TEST_P(OutputReplacesSource, RefusedAndTheSourceKept)
{
    const SourceNamedLikeOutput &c = GetParam();
    const std::string text = "PRINT 1\n";
    WriteFile(m_dir / c.clobbered, text);
    if (*c.includeLine)
        WriteFile(m_dir / c.source, c.includeLine);
    const std::string out = Compile(c.source);
    EXPECT_TRUE(Contains(out, "\nOutput file would replace a source file: '" + Dir() + "/" + c.clobbered + "'.\n"))
        << out;
    EXPECT_EQ(ReadFile(m_dir / c.clobbered), text);
    EXPECT_FALSE(Contains(out, "Generating...")) << out;
}

INSTANTIATE_TEST_SUITE_P(Names, OutputReplacesSource, testing::ValuesIn(kSourcesNamedLikeOutputs),
                         [](const testing::TestParamInfo<SourceNamedLikeOutput> &info) { return info.param.name; });

// 251 characters: "<name>.hex" fits the 255-byte name limit, "<name>.hex.XXXXXX" does not.
TEST_F(Hostile, LongestSourceNamesGetTheirOutputs)
{
    const std::string stem(247, 'p');
    WriteFile(m_dir / (stem + ".bas"), "PRINT 1\n");
    WriteFile(m_dir / (stem + ".hex"), "old\n");
    const std::string out = Compile(stem + ".bas");
    EXPECT_TRUE(Contains(out, "0 - Error(s).")) << out;
    EXPECT_NE(ReadFile(m_dir / (stem + ".hex")), "old\n");
    EXPECT_TRUE(fs::is_regular_file(m_dir / (stem + ".lst")));
    EXPECT_TRUE(fs::is_regular_file(m_dir / (stem + ".map")));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 4) << "temporary file left";
}

TEST_F(Hostile, FailedHexFileTakesTheOlderListingWithIt)
{
    WriteFile(m_dir / "prog.bas", "PRINT 1\n");
    WriteFile(m_dir / "prog.lst", "listing of another build\n");
    fs::create_directory(m_dir / "prog.hex"); // the HEX file cannot be put there
    const std::string out = Compile("prog.bas");
    EXPECT_TRUE(Contains(out, "Can't write file: '" + Dir() + "/prog.hex'.")) << out;
    EXPECT_FALSE(fs::exists(m_dir / "prog.lst"));
}

// --- File names in messages ------------------------------------------------

TEST_F(Hostile, NamesWithControlAndNonUtf8BytesStayOneUtf8Line)
{
    const std::string name = "two\nlines\xFF\xC3.bas";
    WriteFile(m_dir / name, "PRINT (\n");
    const std::string out = Compile(name);
    const std::string shown = Dir() + "/two\\x0Alines\\xFF\\xC3.bas";
    EXPECT_TRUE(Contains(out, "\n  >> " + shown + "\n")) << out;
    EXPECT_TRUE(Contains(out, "\n" + shown + "(1): ")) << out;
    EXPECT_TRUE(IsValidUtf8(out)) << out;
}

} // namespace
