// Runs a loop of simple statements (assignments with an arithmetic
// expression) on the interpreter and reports statements per second, then
// times a native loop doing the same arithmetic and reports the ratio.
#include "Decoder.h"
#include "HexFileReader.h"
#include "Interpreter.h"
#include "LineDevice.h"
#include "Module.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kIterations = 200000;
constexpr int kRounds = 5;

// The ten assignments of one iteration, in Velmo and natively.
const char *const kBody[] = {
    "a = a + b * 3",      "c = a - b * 2", "a = c + a / 7", "c = c * 3 - a", "a = a + c - b",
    "c = a MOD 1000 + b", "a = a - c * 2", "c = c + a * b", "a = a + c / 3", "c = c - a + 1",
};
constexpr int kBodyStatements = sizeof kBody / sizeof kBody[0];

// An optimisation barrier: the native loop may not fold statements together.
#define KEEP(x) asm volatile("" : "+r"(x))

int32_t NativeLoop(int32_t b)
{
    int32_t a = 0;
    int32_t c = 0;
    for (int32_t i = 1; i <= kIterations; ++i) {
        // The same wrapping 32-bit arithmetic the interpreter does.
        a = static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b) * 3u);
        KEEP(a);
        c = static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b) * 2u);
        KEEP(c);
        a = static_cast<int32_t>(static_cast<uint32_t>(c) + static_cast<uint32_t>(a / 7));
        KEEP(a);
        c = static_cast<int32_t>(static_cast<uint32_t>(c) * 3u - static_cast<uint32_t>(a));
        KEEP(c);
        a = static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(c) - static_cast<uint32_t>(b));
        KEEP(a);
        c = a % 1000 + b;
        KEEP(c);
        a = static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(c) * 2u);
        KEEP(a);
        c = static_cast<int32_t>(static_cast<uint32_t>(c) + static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
        KEEP(c);
        a = static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(c / 3));
        KEEP(a);
        c = static_cast<int32_t>(static_cast<uint32_t>(c) - static_cast<uint32_t>(a) + 1u);
        KEEP(c);
    }
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(c));
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<uint8_t> CompileBenchProgram(const fs::path &dir)
{
    std::string source = "LONG a, b, c, i\nb = 3\nFOR i = 1 TO " + std::to_string(kIterations) + "\n";
    for (const char *statement : kBody)
        source += std::string("  ") + statement + "\n";
    source += "NEXT\nPRINT a + c\n";
    const fs::path bas = dir / "bench.bas";
    std::ofstream(bas) << source;
    const std::string command = std::string("'") + VELC_PROGRAM + "' '" + bas.string() + "' > /dev/null";
    std::vector<uint8_t> image;
    std::string error;
    if (std::system(command.c_str()) != 0 || !velsim::ReadHexFile((dir / "bench.hex").string(), 1 << 16, image, error))
        std::fprintf(stderr, "bench_velsim: cannot compile the benchmark program: %s\n", error.c_str());
    return image;
}

} // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / ("velsim-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::vector<uint8_t> image = CompileBenchProgram(dir);
    fs::remove_all(dir);
    std::string error;
    const std::unique_ptr<velsim::CProgram> program = velsim::DecodeProgram(image, error);
    if (!program)
        return 1;

    // The program prints a + c at the end: the same number the native loop
    // returns, so both are known to do the same work.
    const fs::path outputFile = fs::temp_directory_path() / ("velsim-bench-" + std::to_string(::getpid()) + ".out");
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output = ::open(outputFile.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    velsim::CFdDevice device(null, output);
    velsim::CSerialLine line(device);
    velsim::CMachine machine;
    velsim::InterpreterLimits limits;
    double best = 1e9;
    uint64_t statements = 0;
    for (int round = 0; round < kRounds; ++round) {
        velsim::CInterpreter interpreter(*program, machine, line, limits);
        const auto start = std::chrono::steady_clock::now();
        interpreter.Run();
        best = std::min(best, Seconds(start));
        line.Drain();
        statements = interpreter.Executed();
    }
    const uint64_t assignments = static_cast<uint64_t>(kIterations) * kBodyStatements;

    double nativeBest = 1e9;
    int32_t result = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        result = NativeLoop(3);
        nativeBest = std::min(nativeBest, Seconds(start));
    }
    std::ifstream printed(outputFile);
    long long interpreted = 0;
    printed >> interpreted;
    fs::remove(outputFile);
    std::printf("interpreter: %llu statements (%llu assignments) in %.3f s: %.2f million statements/s, "
                "%.2f million assignments/s\n",
                static_cast<unsigned long long>(statements), static_cast<unsigned long long>(assignments), best,
                statements / best / 1e6, assignments / best / 1e6);
    std::printf("native loop: %llu assignments in %.6f s: %.1f million assignments/s\n",
                static_cast<unsigned long long>(assignments), nativeBest, assignments / nativeBest / 1e6);
    std::printf("results: interpreter %lld, native %d%s\n", interpreted, result,
                interpreted == result ? "" : "  (DIFFERENT)");
    std::printf("interpreter / native time for the same loop: %.0f : 1\n", best / nativeBest);
    ::close(null);
    ::close(output);
    return interpreted == result ? 0 : 1;
}
