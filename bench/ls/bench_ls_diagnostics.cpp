// bench_ls_diagnostics: a 2,000-line program is open in the server; each
// round changes one line (alternately breaking and fixing it) and measures
// the time until the server has sent the diagnostics of the document.
// Prints the median and the slowest round; exits 1 when the median is above
// the 50 ms goal or the clean program was not clean.
#include "ProgramGenerator.h"
#include "Server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 2001; // whole blocks of the generator, after the #TARGET line
constexpr int kRounds = 40;
constexpr double kGoalMs = 50.0;
const char kUri[] = "file:///bench/velmo-ls/program.bas";

std::string Frame(const velmo::ls::Json &message)
{
    return velmo::ls::FrameMessage(message.dump());
}

std::string Change(const std::string &text, int version)
{
    return Frame({{"jsonrpc", "2.0"},
                  {"method", "textDocument/didChange"},
                  {"params",
                   {{"textDocument", {{"uri", kUri}, {"version", version}}},
                    {"contentChanges", velmo::ls::Json::array({{{"text", text}}})}}}});
}

} // namespace

int main()
{
    using Clock = std::chrono::steady_clock;
    int published = 0;
    size_t lastCount = 0;
    velmo::ls::CServer server([&](const std::string &body) {
        const velmo::ls::Json message = velmo::ls::Json::parse(body);
        if (message.value("method", "") == "textDocument/publishDiagnostics") {
            ++published;
            lastCount = message["params"]["diagnostics"].size();
        }
    });
    const std::string program = "#TARGET ZENTRA16\n" + GenerateProgram(kLines);
    server.Receive(
        Frame({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", velmo::ls::Json::object()}}));
    server.Receive(Frame({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", velmo::ls::Json::object()}}));
    server.Receive(Frame({{"jsonrpc", "2.0"},
                          {"method", "textDocument/didOpen"},
                          {"params", {{"textDocument", {{"uri", kUri}, {"version", 1}, {"text", program}}}}}}));
    server.ProcessAll();
    std::vector<double> times;
    size_t withError = 0;
    size_t without = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = round % 2 == 0 ? program + "total = = 1\n" : program;
        const std::string message = Change(text, round + 2);
        const int before = published;
        const auto start = Clock::now();
        server.Receive(message);
        server.ProcessAll();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (published != before + 1) {
            std::printf("round %d: no diagnostics published\n", round);
            return 1;
        }
        (round % 2 == 0 ? withError : without) = lastCount;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("velmo-ls: %d-line program, %d changes: diagnostics published after %.1f ms (median), %.1f ms "
                "(slowest); %zu message(s) with the error, %zu without; goal %.0f ms\n",
                kLines, kRounds, median, times.back(), withError, without, kGoalMs);
    return median <= kGoalMs && without == 0 ? 0 : 1;
}
