// The simulated module against other interpreters on the same loop: ten
// integer assignments with arithmetic, 3,000,000 times, as whole processes
// (start, load, run, end) in paired runs of CPU time. Lua 5.4 is the
// reference where it is installed, yabasic a second one (it computes in
// floating point); a missing interpreter is reported and left out.
//
// Run: build/bench/velsim_vs_lua        (VELMO_BENCH_PAIRS sets the pairs, default 5)
// Goals: velsim within 2x the time of Lua 5.4, and at least 3x faster than yabasic.
#include "../compiler/PairedRuns.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr long kIterations = 3000000;

// One iteration's assignments in the three languages. Velmo's division
// truncates and its LONG wraps at 32 bits; Lua's integers floor and wrap at
// 64 bits, yabasic's numbers are floating point: the work per statement is
// the same, the printed sums need not be.
struct Statement {
    const char *velmo;
    const char *lua;
    const char *yabasic;
};
const Statement kBody[] = {
    {"a = a + b * 3", "a = a + b * 3", "a = a + b * 3"},
    {"c = a - b * 2", "c = a - b * 2", "c = a - b * 2"},
    {"a = c + a / 7", "a = c + a // 7", "a = c + int(a / 7)"},
    {"c = c * 3 - a", "c = c * 3 - a", "c = c * 3 - a"},
    {"a = a + c - b", "a = a + c - b", "a = a + c - b"},
    {"c = a MOD 1000 + b", "c = a % 1000 + b", "c = mod(a, 1000) + b"},
    {"a = a - c * 2", "a = a - c * 2", "a = a - c * 2"},
    {"c = c + a * b", "c = c + a * b", "c = c + a * b"},
    {"a = a + c / 3", "a = a + c // 3", "a = a + int(c / 3)"},
    {"c = c - a + 1", "c = c - a + 1", "c = c - a + 1"},
};

std::string Loop(const char *Statement::*language, const std::string &head, const std::string &tail)
{
    std::string text = head;
    for (const Statement &statement : kBody)
        text += std::string("  ") + statement.*language + "\n";
    return text + tail;
}

bool Write(const fs::path &file, const std::string &text)
{
    std::ofstream out(file);
    out << text;
    return static_cast<bool>(out);
}

std::string Installed(const char *name)
{
    for (const char *dir : {"/usr/bin/", "/usr/local/bin/"})
        if (::access((std::string(dir) + name).c_str(), X_OK) == 0)
            return std::string(dir) + name;
    return {};
}

void Compare(const char *what, const std::vector<std::string> &velsim, const std::vector<std::string> &other, int pairs)
{
    PairedResult result;
    if (!RunPaired(velsim, other, pairs, result)) {
        std::printf("%s: a run failed\n", what);
        return;
    }
    PrintPaired(what, result, pairs);
}

} // namespace

int main(int, char *argv[])
{
    const fs::path bin = fs::absolute(argv[0]).parent_path().parent_path() / "bin";
    int pairs = 5;
    if (const char *text = std::getenv("VELMO_BENCH_PAIRS"))
        pairs = std::max(1, std::atoi(text));
    const fs::path dir = fs::temp_directory_path() / ("velsim-vs-lua-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string n = std::to_string(kIterations);
    const bool written =
        Write(dir / "loop.bas",
              Loop(&Statement::velmo, "LONG a, b, c, i\nb = 3\nFOR i = 1 TO " + n + "\n", "NEXT\nPRINT a + c\n")) &&
        Write(dir / "loop.lua",
              Loop(&Statement::lua, "local a, b, c = 0, 3, 0\nfor i = 1, " + n + " do\n", "end\nprint(a + c)\n")) &&
        Write(dir / "loop.yab",
              Loop(&Statement::yabasic, "a = 0 : b = 3 : c = 0\nfor i = 1 to " + n + "\n", "next i\nprint a + c\n"));
    const std::string compile = "'" + (bin / "velc").string() + "' '" + (dir / "loop.bas").string() + "' > /dev/null";
    if (!written || std::system(compile.c_str()) != 0) {
        std::fprintf(stderr, "velsim_vs_lua: cannot write or compile the loop in %s\n", dir.c_str());
        return 1;
    }
    const std::vector<std::string> velsim = {(bin / "velsim").string(), (dir / "loop.hex").string()};
    std::printf("the loop: %ld iterations of %zu assignments, whole processes, CPU time\n", kIterations,
                sizeof kBody / sizeof kBody[0]);
    const std::string lua = Installed("lua5.4");
    if (lua.empty())
        std::printf("velsim / Lua 5.4: lua5.4 is not installed (apt-get install lua5.4)\n");
    else
        Compare("velsim / Lua 5.4 (goal at most 2x)", velsim, {lua, (dir / "loop.lua").string()}, pairs);
    const std::string yabasic = Installed("yabasic");
    if (yabasic.empty())
        std::printf("velsim / yabasic: yabasic is not installed (apt-get install yabasic)\n");
    else
        Compare("velsim / yabasic (goal at most 0.33x)", velsim, {yabasic, (dir / "loop.yab").string()}, pairs);
    fs::remove_all(dir);
    return 0;
}
