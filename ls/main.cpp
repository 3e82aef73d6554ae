// velmo-ls: the language server. It speaks JSON-RPC on standard input and
// output and writes no file.
#include "MessageReader.h"
#include "Server.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <poll.h>
#include <unistd.h>

namespace {

constexpr size_t kReadChunk = 1 << 16;

// True when standard input has bytes (or its end) within `timeoutMs` (-1: wait).
bool InputReady(int timeoutMs)
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&input, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready != 0;
}

bool WriteAll(const std::string &bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

} // namespace

int main()
{
    // A client that goes away makes the writes fail instead of ending the server.
    std::signal(SIGPIPE, SIG_IGN);
    bool outputBroken = false;
    velmo::ls::CServer server([&](const std::string &body) {
        if (!outputBroken)
            outputBroken = !WriteAll(velmo::ls::FrameMessage(body));
    });
    bool inputEnded = false;
    std::string chunk(kReadChunk, '\0');
    while (!server.Finished() && !outputBroken) {
        // The documents' messages go out before the server waits for input.
        if (!server.HasPending())
            server.Idle();
        // Everything already sent is read before the next message is handled,
        // so that a cancellation reaches the queue before its request runs.
        if (!inputEnded && InputReady(server.HasPending() ? 0 : -1)) {
            ssize_t n = 0;
            do {
                n = ::read(STDIN_FILENO, chunk.data(), chunk.size());
            } while (n < 0 && errno == EINTR);
            if (n <= 0)
                inputEnded = true;
            else
                server.Receive(std::string_view(chunk.data(), static_cast<size_t>(n)));
        }
        if (server.HasPending())
            server.ProcessNext();
        else if (inputEnded)
            break;
    }
    return server.Finished() ? server.ExitCode() : 1;
}
