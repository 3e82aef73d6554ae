// Compile runs share nothing: two runs one after the other, and runs side by
// side on two threads, give the same messages and the same output files, and
// no run moves the process's current directory.
#include "Compiler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kStation = fs::path(VELMO_TEST_DATA) / ".." / ".." / ".." / "examples" / "station";

std::string ReadFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string ReplaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// What one run produced, with its folder written as "{DIR}".
struct RunResult {
    std::string messages;
    std::string hex;
    std::string listing;
    bool operator==(const RunResult &) const = default;
};

// A private copy of the split example program: includes in a subfolder,
// macros defined in one file and used in others, labels across files.
class RunFolder {
public:
    explicit RunFolder(const std::string &tag)
        : m_dir(fs::temp_directory_path() / ("velc-isolation-" + std::to_string(getpid()) + "-" + tag))
    {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::copy(kStation, m_dir, fs::copy_options::recursive);
    }
    ~RunFolder()
    {
        std::error_code error;
        fs::remove_all(m_dir, error);
    }

    RunResult Compile() const
    {
        std::ostringstream out;
        CCompiler compiler(out);
        compiler.Compile((m_dir / "station.bas").string());
        return {ReplaceAll(out.str(), m_dir.string(), "{DIR}"), ReadFile(m_dir / "station.hex"),
                ReadFile(m_dir / "station.lst")};
    }

private:
    fs::path m_dir;
};

// The current directory is a folder without the program's include files,
// so a run that looked there instead of beside the including file would fail.
class CompileRuns : public testing::Test {
protected:
    void SetUp() override
    {
        m_start = fs::current_path();
        m_elsewhere = fs::temp_directory_path() / ("velc-isolation-cwd-" + std::to_string(getpid()));
        fs::create_directories(m_elsewhere);
        fs::current_path(m_elsewhere);
    }
    void TearDown() override
    {
        fs::current_path(m_start);
        fs::remove_all(m_elsewhere);
    }
    fs::path m_start;
    fs::path m_elsewhere;
};

TEST_F(CompileRuns, OneAfterTheOtherGiveTheSameResultAndKeepTheDirectory)
{
    const RunFolder folder("sequential");
    const RunResult first = folder.Compile();
    EXPECT_EQ(fs::current_path(), m_elsewhere);
    const RunResult second = folder.Compile();
    EXPECT_EQ(fs::current_path(), m_elsewhere);

    EXPECT_NE(first.messages.find("0 - Error(s)."), std::string::npos) << first.messages;
    EXPECT_NE(first.messages.find("  >> {DIR}/lib/sensors.bas"), std::string::npos) << first.messages;
    EXPECT_FALSE(first.hex.empty());
    EXPECT_EQ(second, first);
}

TEST_F(CompileRuns, SideBySideOnTwoThreadsGiveTheSameResultAsAlone)
{
    const RunResult alone = RunFolder("alone").Compile();
    constexpr int kRunsPerThread = 25;
    std::vector<RunResult> results[2];
    std::thread threads[2];
    for (int t = 0; t < 2; ++t) {
        threads[t] = std::thread([t, &results] {
            const RunFolder folder("thread" + std::to_string(t));
            for (int i = 0; i < kRunsPerThread; ++i)
                results[t].push_back(folder.Compile());
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(fs::current_path(), m_elsewhere);
    for (int t = 0; t < 2; ++t) {
        ASSERT_EQ(results[t].size(), static_cast<size_t>(kRunsPerThread));
        for (int i = 0; i < kRunsPerThread; ++i)
            EXPECT_EQ(results[t][i], alone) << "thread " << t << ", run " << i;
    }
}

} // namespace
