// Compiles generated programs of 10k, 100k and 1,000,000 lines and reports
// lines per second for the whole run and for the output writers. A phase
// that is not linear in the number of lines shows up as a falling rate.
#include "Code.h"
#include "Compiler.h"
#include "ProgramGenerator.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BenchCompile(const fs::path &dir, int lines)
{
    const fs::path source = dir / ("gen" + std::to_string(lines) + ".bas");
    std::ofstream(source, std::ios::binary) << GenerateProgram(lines);
    std::ostringstream output;
    const auto start = std::chrono::steady_clock::now();
    CCompiler compiler(output);
    compiler.Compile(source.string());
    const double seconds = Seconds(start);
    std::printf("compile %9d lines: %8.3f s  %12.0f lines/s  (%d errors)\n", lines, seconds, lines / seconds,
                compiler.m_errorCount);
}

// The writers on an image of `lines` records, the size a program of that
// many lines would have if the module had the memory for it.
void BenchWriters(const fs::path &dir, int lines)
{
    CCode code;
    for (int i = 0; i < lines; ++i) {
        code.BeginLine(i);
        code.EmitToken(0xAA);
        code.EmitString("total");
        code.EmitByte(',');
        code.EmitVarName(i % 52);
        code.EndLine();
    }
    code.EmitEnd(lines);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = code.WriteHexFile((dir / "bench.hex").string()) && code.WriteListing((dir / "bench.lst").string());
    const double seconds = Seconds(start);
    std::printf("write   %9d lines: %8.3f s  %12.0f lines/s%s\n", lines, seconds, lines / seconds,
                ok ? "" : "  (write failed)");
}

} // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / ("velc-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (int lines : {10000, 100000, 1000000})
        BenchCompile(dir, lines);
    for (int lines : {10000, 100000, 1000000})
        BenchWriters(dir, lines);
    fs::remove_all(dir);
    return 0;
}
