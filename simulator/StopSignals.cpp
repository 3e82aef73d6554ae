#include "StopSignals.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace velsim {

namespace {

int g_stopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_stopPipe[1], &byte, 1);
}

} // namespace

int InstallStopSignals()
{
    if (g_stopPipe[0] >= 0)
        return g_stopPipe[0];
    if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action { };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return g_stopPipe[0];
}

} // namespace velsim
