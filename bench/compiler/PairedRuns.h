// Paired runs of two commands for the comparison benchmarks: the commands
// run alternately, each run's CPU time (user + system, from wait4) is
// measured, and the ratio of each pair is kept, so that a change in the
// machine's load touches both sides of a pair alike.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// What one run of a command cost: CPU seconds (user + system) and its peak
// resident memory.
struct RunUsage {
    double cpuSeconds = -1; // negative when the command could not be run
    long peakRssKiB = 0;
    int exitStatus = 0;
};

// One run of the command (argv[0] a path), output discarded, in the given
// environment. posix_spawn, so that the child does not pay for copying this
// process's memory map before exec.
inline RunUsage UsageOf(const std::vector<std::string> &command, char *const *environment = environ)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv;
    for (const std::string &arg : command)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environment);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage { };
    RunUsage result;
    if (spawned != 0 || ::wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status))
        return result;
    auto seconds = [](const timeval &t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    result.peakRssKiB = usage.ru_maxrss;
    result.exitStatus = WEXITSTATUS(status);
    return result;
}

// CPU seconds of one run of the command; negative when it could not be run.
inline double CpuSecondsOf(const std::vector<std::string> &command)
{
    return UsageOf(command).cpuSeconds;
}

struct PairedResult {
    double medianA = 0; // CPU seconds
    double medianB = 0;
    double medianRatio = 0; // of the per-pair ratios A / B
    double lowRatio = 0;
    double highRatio = 0;
};

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

// `pairs` pairs, A first in even pairs and B first in odd ones. Returns false
// when a command could not be run.
inline bool RunPaired(const std::vector<std::string> &a, const std::vector<std::string> &b, int pairs,
                      PairedResult &result)
{
    std::vector<double> timesA, timesB, ratios;
    for (int i = 0; i < pairs; ++i) {
        double ta, tb;
        if (i % 2 == 0) {
            ta = CpuSecondsOf(a);
            tb = CpuSecondsOf(b);
        } else {
            tb = CpuSecondsOf(b);
            ta = CpuSecondsOf(a);
        }
        if (ta < 0 || tb < 0)
            return false;
        timesA.push_back(ta);
        timesB.push_back(tb);
        // Clock ticks of a tiny process can read 0; count them as one microsecond.
        ratios.push_back(std::max(ta, 1e-6) / std::max(tb, 1e-6));
    }
    result.medianA = Median(timesA);
    result.medianB = Median(timesB);
    result.medianRatio = Median(ratios);
    std::sort(ratios.begin(), ratios.end());
    result.lowRatio = ratios.front();
    result.highRatio = ratios.back();
    return true;
}

inline void PrintPaired(const char *what, const PairedResult &r, int pairs)
{
    std::printf("%s: %d pairs, CPU time median %.4f s vs %.4f s, ratio median %.2fx (range %.2f-%.2fx)\n", what, pairs,
                r.medianA, r.medianB, r.medianRatio, r.lowRatio, r.highRatio);
}

// Instructions executed by one run of the command, counted by callgrind (a
// repeatable second figure); -1 when valgrind is not installed.
inline long long InstructionsOf(const std::vector<std::string> &command)
{
    std::string line = "valgrind --tool=callgrind --trace-children=yes --callgrind-out-file=/dev/null";
    for (const std::string &arg : command)
        line += " '" + arg + "'";
    line += " 2>&1 >/dev/null";
    FILE *pipe = ::popen(line.c_str(), "r");
    if (!pipe)
        return -1;
    long long count = -1;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        const char *at = std::strstr(buffer, "Collected : ");
        if (at) // one line per process: cpp runs its compiler proper as a child
            count = (count < 0 ? 0 : count) + std::atoll(at + 12);
    }
    ::pclose(pipe);
    return count;
}

inline void PrintInstructions(const char *what, const std::vector<std::string> &a, const std::vector<std::string> &b)
{
    const long long ia = InstructionsOf(a), ib = InstructionsOf(b);
    if (ia <= 0 || ib <= 0) {
        std::printf("%s: instruction counts need valgrind (not found)\n", what);
        return;
    }
    std::printf("%s: callgrind instructions %lld vs %lld, ratio %.2fx\n", what, ia, ib,
                static_cast<double>(ia) / static_cast<double>(ib));
}
