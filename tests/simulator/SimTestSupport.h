// Shared by the simulator's tests: a scratch folder, compiling programs with
// the freshly built velc, and running a compiled program on the simulated
// module with files as its serial line.
#pragma once

#include "HexFileReader.h"
#include "LineDevice.h"
#include "Module.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace simtest {

namespace fs = std::filesystem;

inline std::string BinDir()
{
    const char *bin = std::getenv("VELMO_BIN_DIR");
    return bin ? bin : VELMO_BIN_FALLBACK;
}

inline std::string ReadAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteAll(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A folder of its own for one test, removed afterwards.
class ScratchDir {
public:
    ScratchDir()
    {
        static std::atomic<int> counter{0};
        m_path =
            fs::temp_directory_path() / ("velsim-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const fs::path &Path() const
    {
        return m_path;
    }
    fs::path operator/(const std::string &name) const
    {
        return m_path / name;
    }

private:
    fs::path m_path;
};

// Runs a shell command and returns what it wrote on standard output.
inline std::string Capture(const std::string &command)
{
    std::string output;
    if (FILE *pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        ::pclose(pipe);
    }
    return output;
}

// Compiles `source` as <dir>/<name>.bas with velc; returns the path of the
// HEX file, or "" after reporting velc's output as a test failure.
inline fs::path CompileProgram(const ScratchDir &dir, const std::string &source, const std::string &name = "prog")
{
    const fs::path bas = dir / (name + ".bas");
    WriteAll(bas, source);
    const std::string output = Capture("'" + BinDir() + "/velc' '" + bas.string() + "'");
    const fs::path hex = dir / (name + ".hex");
    if (output.find("\n0 - Error(s).\n") == std::string::npos || !fs::exists(hex)) {
        ADD_FAILURE() << "velc did not compile the program:\n" << source << "\n" << output;
        return {};
    }
    return hex;
}

inline std::vector<uint8_t> CompileImage(const ScratchDir &dir, const std::string &source)
{
    const fs::path hex = CompileProgram(dir, source);
    std::vector<uint8_t> image;
    std::string error;
    if (!hex.empty() && !velsim::ReadHexFile(hex.string(), 1 << 16, image, error))
        ADD_FAILURE() << error;
    return image;
}

struct RunResult {
    std::string output; // what the module sent on the serial line
    std::string trace; // what it wrote on standard error
    velsim::CModule::Exit exit = velsim::CModule::Exit::kStopped;
    bool started = false;
};

// Runs an image until the program ends, with `input` as everything that
// arrives on the serial line; `trace` switches --trace on.
inline RunResult RunImage(const ScratchDir &dir, const std::vector<uint8_t> &image, const std::string &input,
                          const std::string &target = "ZENTRA8", bool trace = false)
{
    RunResult result;
    WriteAll(dir / "line.in", input);
    const int in = ::open((dir / "line.in").c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open((dir / "line.out").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    char *traceText = nullptr;
    size_t traceSize = 0;
    FILE *traceStream = ::open_memstream(&traceText, &traceSize);
    {
        velsim::CFdDevice device(in, out);
        velsim::CSerialLine line(device);
        velsim::ModuleSettings settings;
        settings.target = target;
        settings.trace = trace;
        velsim::CModule module(line, settings);
        module.Machine().m_trace.SetOutput(traceStream);
        std::string error;
        result.started = module.Start(image, error);
        EXPECT_TRUE(result.started) << error;
        if (result.started)
            result.exit = module.Serve(true);
    }
    std::fclose(traceStream);
    result.trace.assign(traceText, traceSize);
    std::free(traceText);
    ::close(in);
    ::close(out);
    result.output = ReadAll(dir / "line.out");
    return result;
}

inline RunResult RunSource(const std::string &source, const std::string &input = "",
                           const std::string &target = "ZENTRA8", bool trace = false)
{
    ScratchDir dir;
    return RunImage(dir, CompileImage(dir, source), input, target, trace);
}

// A stable test name from a table entry's name.
template <class Case> std::string CaseName(const testing::TestParamInfo<Case> &info)
{
    return info.param.name;
}

} // namespace simtest
