// How much the workbench's start costs against a bare Qt Widgets window:
// processor time and peak resident memory from the start of the process
// until its main window is shown and idle, in paired runs (the two
// alternate, so both see the same machine load). Every Korvid run is a
// first start: no settings file, no window layout.
//
// Run under a display, as the workbench is used (the start ends when the
// window is mapped and idle; Xvfb will do):
//   DISPLAY=:1 build/bench/bench_start
// Offscreen (QT_QPA_PLATFORM=offscreen) the bare window skips the window
// system's work, so the same extra time of the workbench gives a larger ratio.
// VELMO_BENCH_PAIRS sets the number of pairs (default 9).
#include "../compiler/PairedRuns.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr double kGoal = 1.5; // each figure within 1.5x the bare window

// A program folder the workbench can take as its own: a copy of the start
// program with the compiler, the simulated module and the manual beside it,
// as in build/bin. Its settings file lands there and is removed before each
// run.
struct StartFolder {
    fs::path root;
    fs::path program;
    fs::path settings;
    fs::path home;
};

bool MakeStartFolder(const fs::path &benchDir, const fs::path &binDir, StartFolder &folder)
{
    char pattern[] = "/tmp/velmo-bench-start-XXXXXX";
    if (!::mkdtemp(pattern))
        return false;
    folder.root = pattern;
    const fs::path bin = folder.root / "bin";
    folder.program = bin / "Korvid";
    folder.settings = bin / "Korvid.ini";
    folder.home = folder.root / "home";
    std::error_code error;
    fs::create_directories(bin, error);
    fs::copy_file(benchDir / "start_korvid", folder.program, error);
    if (error)
        return false;
    for (const char *name : {"velc", "velsim", "Help"})
        if (fs::exists(binDir / name))
            fs::create_directory_symlink(fs::absolute(binDir / name), bin / name, error);
    return true;
}

// The environment of every run: this one with a home of its own, so that
// no user settings or layout are read.
std::vector<std::string> RunEnvironment(const StartFolder &folder)
{
    std::vector<std::string> environment;
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (text.rfind("HOME=", 0) != 0 && text.rfind("XDG_CONFIG_HOME=", 0) != 0)
            environment.push_back(text);
    }
    environment.push_back("HOME=" + folder.home.string());
    environment.push_back("XDG_CONFIG_HOME=" + (folder.home / ".config").string());
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        environment.push_back("QT_QPA_PLATFORM=offscreen");
    return environment;
}

RunUsage FirstStart(const StartFolder &folder, char *const *environment)
{
    std::error_code error;
    fs::remove(folder.settings, error);
    fs::remove_all(folder.home, error);
    fs::create_directories(folder.home, error);
    return UsageOf({folder.program.string()}, environment);
}

struct Figures {
    std::vector<double> korvidCpu, bareCpu, cpuRatio, korvidRss, bareRss, rssRatio;
};

bool RunPairs(const StartFolder &folder, const fs::path &bare, int pairs, Figures &figures)
{
    const std::vector<std::string> text = RunEnvironment(folder);
    std::vector<char *> environment;
    for (const std::string &entry : text)
        environment.push_back(const_cast<char *>(entry.c_str()));
    environment.push_back(nullptr);
    for (int i = 0; i < pairs; ++i) {
        RunUsage korvid, reference;
        if (i % 2 == 0) {
            korvid = FirstStart(folder, environment.data());
            reference = UsageOf({bare.string()}, environment.data());
        } else {
            reference = UsageOf({bare.string()}, environment.data());
            korvid = FirstStart(folder, environment.data());
        }
        if (korvid.cpuSeconds < 0 || reference.cpuSeconds < 0 || korvid.exitStatus || reference.exitStatus)
            return false;
        figures.korvidCpu.push_back(korvid.cpuSeconds);
        figures.bareCpu.push_back(reference.cpuSeconds);
        figures.cpuRatio.push_back(std::max(korvid.cpuSeconds, 1e-6) / std::max(reference.cpuSeconds, 1e-6));
        figures.korvidRss.push_back(korvid.peakRssKiB / 1024.0);
        figures.bareRss.push_back(reference.peakRssKiB / 1024.0);
        figures.rssRatio.push_back(static_cast<double>(korvid.peakRssKiB) / std::max(reference.peakRssKiB, 1L));
    }
    return true;
}

void Report(const char *what, const char *unit, const std::vector<double> &korvid, const std::vector<double> &bare,
            const std::vector<double> &ratio)
{
    const double median = Median(ratio);
    std::printf("%-13s Korvid %.3f %s vs bare window %.3f %s, ratio median %.2fx (goal %.1fx: %s)\n", what,
                Median(korvid), unit, Median(bare), unit, median, kGoal, median <= kGoal ? "met" : "NOT met");
}

} // namespace

int main(int, char *argv[])
{
    const fs::path benchDir = fs::absolute(argv[0]).parent_path();
    const fs::path binDir = benchDir.parent_path() / "bin";
    int pairs = 9;
    if (const char *text = std::getenv("VELMO_BENCH_PAIRS"))
        pairs = std::max(1, std::atoi(text));
    StartFolder folder;
    if (!MakeStartFolder(benchDir, binDir, folder)) {
        std::fprintf(stderr, "bench_start: cannot set up a program folder under /tmp\n");
        return 1;
    }
    Figures figures;
    const bool ran = RunPairs(folder, benchDir / "start_bare", pairs, figures);
    std::error_code error;
    fs::remove_all(folder.root, error);
    if (!ran) {
        std::fprintf(stderr, "bench_start: a start failed (run start_korvid or start_bare by hand to see why)\n");
        return 1;
    }
    std::printf("workbench start, %d pairs (first start, until the main window is shown and idle)\n", pairs);
    Report("CPU time:", "s", figures.korvidCpu, figures.bareCpu, figures.cpuRatio);
    Report("peak RSS:", "MiB", figures.korvidRss, figures.bareRss, figures.rssRatio);
    return 0;
}
