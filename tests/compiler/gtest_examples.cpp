// Every example program compiles without errors: each examples/*.bas, and
// for a program split over files, examples/<name>/<name>.bas.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kExamples = fs::path(VELMO_TEST_DATA) / ".." / ".." / ".." / "examples";

std::vector<std::string> ExamplePrograms()
{
    std::vector<std::string> programs;
    if (!fs::is_directory(kExamples))
        return programs;
    for (const auto &entry : fs::directory_iterator(kExamples)) {
        const fs::path &path = entry.path();
        if (entry.is_regular_file() && path.extension() == ".bas")
            programs.push_back(path.filename().string());
        const fs::path main = path / (path.filename().string() + ".bas");
        if (entry.is_directory() && fs::is_regular_file(main))
            programs.push_back(fs::relative(main, kExamples).string());
    }
    std::sort(programs.begin(), programs.end());
    return programs;
}

std::string RunVelc(const fs::path &dir, const std::string &program)
{
    const char *bin = std::getenv("VELMO_BIN_DIR");
    const std::string command = "cd '" + dir.string() + "' && '" + (bin ? bin : ".") + "/velc' '" + program + "'";
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

class Example : public testing::TestWithParam<std::string> { };

// velc writes its output files beside the program, so it runs on a copy.
TEST_P(Example, CompilesWithoutErrors)
{
    const fs::path work = fs::temp_directory_path() / ("velc-examples-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::copy(kExamples, work, fs::copy_options::recursive);
    const std::string output = RunVelc(work, GetParam());
    EXPECT_NE(output.find("\n0 - Error(s).\n"), std::string::npos) << output;
    EXPECT_TRUE(fs::is_regular_file(work / fs::path(GetParam()).replace_extension(".hex"))) << output;
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Programs, Example, testing::ValuesIn(ExamplePrograms()),
                         [](const testing::TestParamInfo<std::string> &info) {
                             std::string name = info.param;
                             for (char &c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

// The reader of velc's messages has gone before velc starts: velc still
// compiles and writes its files, and ends normally instead of by SIGPIPE.
TEST(Examples, CompileWhenNobodyReadsTheMessages)
{
    const fs::path work = fs::temp_directory_path() / ("velc-closed-pipe-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::copy(kExamples, work, fs::copy_options::recursive);
    const char *bin = std::getenv("VELMO_BIN_DIR");
    const std::string velc = std::string(bin ? bin : ".") + "/velc";
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGPIPE, SIG_DFL);
        dup2(fds[1], STDOUT_FILENO);
        if (chdir(work.c_str()) == 0)
            execl(velc.c_str(), "velc", "hello.bas", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_TRUE(fs::is_regular_file(work / "hello.hex"));
    fs::remove_all(work);
}

TEST(Examples, AreFound)
{
    EXPECT_GE(ExamplePrograms().size(), 5u);
}

} // namespace
