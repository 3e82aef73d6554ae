// The manual's examples are programs that work: each "velmo" block compiles
// with velc without errors, and where an "output" block follows it (what the
// module prints) or a "trace" block (what velsim --trace reports), the
// simulated module prints exactly that.
#include "../compiler/TestNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kChapters = (fs::path(VELMO_TEST_DATA) / ".." / ".." / ".." / "docs" / "manual").lexically_normal();

struct ManualExample {
    std::string where; // chapter file and line
    std::string code;
    std::optional<std::string> output;
    std::optional<std::string> trace;
    friend void PrintTo(const ManualExample &e, std::ostream *os)
    {
        *os << e.where;
    }
};

std::string Trimmed(const std::string &line)
{
    const size_t end = line.find_last_not_of(" \t\r");
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

// The lines of a ``` block that starts at `pos` with the given fence.
std::optional<std::string> Block(const std::vector<std::string> &lines, size_t &pos, const std::string &fence)
{
    while (pos < lines.size() && Trimmed(lines[pos]).empty())
        ++pos;
    if (pos >= lines.size() || Trimmed(lines[pos]) != fence)
        return std::nullopt;
    std::string text;
    for (++pos; pos < lines.size() && Trimmed(lines[pos]) != "```"; ++pos)
        text += lines[pos] + "\n";
    ++pos;
    return text;
}

void AddExamples(const fs::path &file, std::vector<ManualExample> &examples)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    for (size_t pos = 0; pos < lines.size();) {
        const size_t start = pos;
        std::optional<std::string> code = Block(lines, pos, "```velmo");
        if (!code) {
            pos = start + 1;
            continue;
        }
        ManualExample example{file.stem().string() + " line " + std::to_string(start + 1), *code, {}, {}};
        size_t next = pos;
        if ((example.output = Block(lines, next, "```output")))
            pos = next;
        next = pos;
        if ((example.trace = Block(lines, next, "```trace")))
            pos = next;
        examples.push_back(example);
    }
}

std::vector<ManualExample> Examples()
{
    std::vector<fs::path> files;
    if (fs::is_directory(kChapters)) {
        for (const auto &entry : fs::directory_iterator(kChapters)) {
            if (entry.path().extension() == ".md")
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<ManualExample> examples;
    for (const fs::path &file : files)
        AddExamples(file, examples);
    return examples;
}

std::string ReadFile(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Line ends as LF, no blanks at line ends, no empty lines at the end.
std::string Normalized(const std::string &text)
{
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);)
        out += Trimmed(line) + "\n";
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") == 0)
        out.pop_back();
    return out == "\n" ? std::string() : out;
}

std::string TraceLines(const std::string &stderrText)
{
    std::istringstream in(stderrText);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("trace: ", 0) == 0)
            out += Trimmed(line) + "\n";
    }
    return out;
}

int RunCommand(const std::string &command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string TargetOption(const std::string &code)
{
    std::smatch match;
    static const std::regex kTarget("#target\\s+(\\w+)", std::regex::icase);
    return std::regex_search(code, match, kTarget) ? " --target " + match[1].str() : "";
}

class Example : public testing::TestWithParam<ManualExample> {
protected:
    void SetUp() override
    {
        m_work = fs::temp_directory_path() / ("velmo-manual-" + std::to_string(getpid()));
        fs::remove_all(m_work);
        fs::create_directories(m_work);
    }
    void TearDown() override
    {
        fs::remove_all(m_work);
    }
    std::string In(const std::string &command) const
    {
        return "cd '" + m_work.string() + "' && " + command;
    }

    fs::path m_work;
};

const std::string kBin = std::getenv("VELMO_BIN_DIR") ? std::getenv("VELMO_BIN_DIR") : ".";

TEST_P(Example, CompilesAndPrintsWhatTheManualShows)
{
    const ManualExample &example = GetParam();
    std::ofstream(m_work / "example.bas") << example.code;
    RunCommand(In("'" + kBin + "/velc' example.bas > velc.txt"));
    const std::string messages = ReadFile(m_work / "velc.txt");
    ASSERT_NE(messages.find("\n0 - Error(s).\n"), std::string::npos) << example.code << messages;
    if (!example.output && !example.trace)
        return;
    const std::string trace = example.trace ? " --trace" : "";
    const int status = RunCommand(In("timeout 30 '" + kBin + "/velsim'" + trace + TargetOption(example.code) +
                                     " example.hex < /dev/null > out.txt 2> err.txt"));
    ASSERT_NE(status, 124) << "velsim did not end:\n" << example.code;
    if (example.output) {
        EXPECT_EQ(Normalized(ReadFile(m_work / "out.txt")), Normalized(*example.output)) << example.code;
    }
    if (example.trace) {
        EXPECT_EQ(TraceLines(ReadFile(m_work / "err.txt")), Normalized(*example.trace)) << example.code;
    }
}

INSTANTIATE_TEST_SUITE_P(Manual, Example, testing::ValuesIn(Examples()),
                         [](const testing::TestParamInfo<ManualExample> &info) {
                             return StableTestName(info.param.where, info.index);
                         });

TEST(ManualExamples, AreFound)
{
    const std::vector<ManualExample> examples = Examples();
    const auto shown =
        std::count_if(examples.begin(), examples.end(), [](const ManualExample &e) { return e.output.has_value(); });
    EXPECT_GE(examples.size(), 60u);
    EXPECT_GE(shown, 50);
}

} // namespace
