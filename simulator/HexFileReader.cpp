#include "HexFileReader.h"

#include "ModuleLoader.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace velsim {

bool ImageFromHexText(const std::string &text, size_t capacity, std::vector<uint8_t> &image, std::string &error)
{
    CLoader loader(capacity);
    int line = 1; // of the byte being taken: a record ends on its own line
    for (const char c : text) {
        switch (loader.Take(static_cast<uint8_t>(c))) {
        case CLoader::Event::kReject:
            error = "malformed record in line " + std::to_string(line);
            return false;
        case CLoader::Event::kRefuse:
            error = loader.ImageError() + " in line " + std::to_string(line);
            return false;
        case CLoader::Event::kComplete:
            if (!loader.ImageError().empty()) {
                error = loader.ImageError();
                return false;
            }
            image = loader.Image();
            return true;
        default:
            break;
        }
        if (c == '\n')
            ++line;
    }
    error = "no end-of-file record";
    return false;
}

namespace {

// Closes the descriptor when the read is over, however it ends.
struct FdCloser {
    int fd;
    ~FdCloser()
    {
        ::close(fd);
    }
};

// Waits until the file has bytes (or its end) or a stop arrives; false on a stop.
bool WaitReadable(int fd, int stopFd)
{
    struct pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    const nfds_t count = stopFd >= 0 ? 2 : 1;
    for (;;) {
        if (::poll(fds, count, -1) < 0 && errno != EINTR)
            return true; // let the read report the fault
        if (count == 2 && fds[1].revents)
            return false;
        if (fds[0].revents)
            return true;
    }
}

// The whole file, at most kMaxHexFileBytes; false with the reason.
bool ReadBounded(int fd, int stopFd, std::string &text, std::string &error)
{
    char buffer[65536];
    for (;;) {
        if (!WaitReadable(fd, stopFd)) {
            error = "stopped";
            return false;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n < 0) {
            error = std::string("cannot read: ") + std::strerror(errno);
            return false;
        }
        if (text.size() + static_cast<size_t>(n) > kMaxHexFileBytes) {
            error = "too large for a HEX file (more than " + std::to_string(kMaxHexFileBytes / (1024 * 1024)) + " MiB)";
            return false;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
}

} // namespace

bool ReadHexFile(const std::string &path, size_t capacity, std::vector<uint8_t> &image, std::string &error, int stopFd)
{
    // Opened without blocking, so that a FIFO without a writer yet does not
    // hold the open; the reads then wait in poll(), where a stop is seen.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    const FdCloser closer{fd};
    std::string text;
    if (!ReadBounded(fd, stopFd, text, error) || !ImageFromHexText(text, capacity, image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace velsim
