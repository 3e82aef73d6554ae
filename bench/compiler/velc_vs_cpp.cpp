// velc_vs_cpp [velc]: CPU time of velc on 1,000,000 generated lines against
// the C preprocessor (cpp -P) on the same file, in paired runs, and the
// same at 250,000 lines to show that velc stays linear. The goal is a ratio
// of at most 0.67 (velc 1.5 times as fast as cpp).
#include "PairedRuns.h"
#include "ProgramGenerator.h"
#include "ProgramPaths.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kPairs = 7;

bool Compare(const std::string &velc, const fs::path &dir, int lines, PairedResult &result)
{
    const fs::path file = dir / ("gen" + std::to_string(lines) + ".bas");
    std::ofstream(file, std::ios::binary) << GenerateProgram(lines);
    const bool ok =
        RunPaired({velc, file.string()}, {"/usr/bin/cpp", "-P", file.string(), "-o", "/dev/null"}, kPairs, result);
    if (ok) {
        const std::string what = "velc vs cpp -P, " + std::to_string(lines) + " lines";
        PrintPaired(what.c_str(), result, kPairs);
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string velc = VelcPath(argc, argv);
    const fs::path dir = fs::temp_directory_path() / ("velc-vs-cpp-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    PairedResult quarter, full;
    const bool ok = Compare(velc, dir, 250000, quarter) && Compare(velc, dir, 1000000, full);
    if (ok) {
        std::printf("velc per line: %.1f ns at 250,000 lines, %.1f ns at 1,000,000 lines\n",
                    quarter.medianA / 250000 * 1e9, full.medianA / 1000000 * 1e9);
        const fs::path file = dir / "gen1000000.bas";
        PrintInstructions("velc vs cpp -P, 1,000,000 lines", {velc, file.string()},
                          {"/usr/bin/cpp", "-P", file.string(), "-o", "/dev/null"});
    } else {
        std::printf("could not run %s or /usr/bin/cpp\n", velc.c_str());
    }
    fs::remove_all(dir);
    return ok ? 0 : 1;
}
