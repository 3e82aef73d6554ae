// velc_vs_true [velc]: CPU time of velc on the largest program a ZENTRA16
// module holds, against a process that does nothing (/bin/true), in paired
// runs. The goal is a ratio under 2: compiling a full module program costs
// no more than starting a process.
#include "Compiler.h"
#include "PairedRuns.h"
#include "ProgramGenerator.h"
#include "ProgramPaths.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kPairs = 300;

struct Program {
    int lines = 0;
    int codeSize = 0;
};

// Compiles `blocks` whole blocks of generated lines for ZENTRA16
// in-process; false on errors (the image outgrew the program memory).
bool Fits(const fs::path &file, int blocks, Program &program)
{
    const int lines = 1 + blocks * kGeneratedBlockLines;
    std::ofstream(file, std::ios::binary) << "#TARGET ZENTRA16\n" << GenerateProgram(lines);
    std::ostringstream out;
    CCompiler compiler(out);
    compiler.Compile(file.string());
    program = {lines, compiler.m_codeSize};
    return compiler.m_errorCount == 0;
}

// The largest generated program without errors: its image fills the
// module's program memory up to less than one line.
Program WriteLargestProgram(const fs::path &file)
{
    Program program;
    int low = 1, high = 2000; // low fits, high does not
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (Fits(file, mid, program) ? low : high) = mid;
    }
    Fits(file, low, program);
    return program;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string velc = VelcPath(argc, argv);
    const fs::path dir = fs::temp_directory_path() / ("velc-vs-true-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "largest.bas";
    const Program program = WriteLargestProgram(file);
    std::printf("largest legal ZENTRA16 program: %d lines, %d of 32768 bytes\n", program.lines, program.codeSize);

    const std::vector<std::string> compile = {velc, file.string()};
    const std::vector<std::string> nothing = {"/bin/true"};
    PairedResult result;
    int status = 0;
    if (RunPaired(compile, nothing, kPairs, result)) {
        PrintPaired("velc vs /bin/true", result, kPairs);
        PrintInstructions("velc vs /bin/true", compile, nothing);
    } else {
        std::printf("could not run %s\n", velc.c_str());
        status = 1;
    }
    fs::remove_all(dir);
    return status;
}
