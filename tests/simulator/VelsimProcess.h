// The velsim program as the workbench meets it: started with --pty, its
// device path read from its standard output, and a peer that opens that
// device in raw mode like a serial port. Every wait has a deadline and ends
// as soon as its condition holds.
#pragma once

#include "SimTestSupport.h"

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

constexpr int kPatienceMs = 5000; // longer than any reply may take

inline int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits until the descriptor is readable or the deadline passes.
inline bool Readable(int fd, int64_t deadline)
{
    const int64_t left = deadline - NowMs();
    if (left <= 0)
        return false;
    struct pollfd p = {fd, POLLIN, 0};
    return ::poll(&p, 1, static_cast<int>(left)) > 0;
}

class VelsimProcess {
public:
    explicit VelsimProcess(const std::vector<std::string> &args)
    {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<std::string> all = {BinDir() + "/velsim"};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char *> argv;
            for (std::string &arg : all)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_stdout = out[0];
        m_pidfd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    }
    ~VelsimProcess()
    {
        if (m_pid > 0 && m_status < 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        for (int fd : {m_stdout, m_pidfd}) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    VelsimProcess(const VelsimProcess &) = delete;
    VelsimProcess &operator=(const VelsimProcess &) = delete;

    // The first line it prints: the device path.
    std::string ReadLine()
    {
        std::string line;
        const int64_t deadline = NowMs() + kPatienceMs;
        char c;
        while (Readable(m_stdout, deadline) && ::read(m_stdout, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }

    void Signal(int sig)
    {
        ::kill(m_pid, sig);
    }

    // The exit code once it has ended, -1 when it still runs at the deadline.
    int WaitExit(int timeoutMs = kPatienceMs)
    {
        if (m_status < 0 && Readable(m_pidfd, NowMs() + timeoutMs)) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_status;
    }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    int m_pidfd = -1;
    int m_status = -1;
};

// The workbench's end of the line.
class Peer {
public:
    explicit Peer(const std::string &path)
    {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        SetLine(B9600, CS8);
    }
    ~Peer()
    {
        Close();
    }
    Peer(const Peer &) = delete;
    Peer &operator=(const Peer &) = delete;

    bool IsOpen() const
    {
        return m_fd >= 0;
    }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    // Raw mode with a bit rate and character size, as the port layer sets it.
    void SetLine(speed_t speed, tcflag_t size, tcflag_t parity = 0)
    {
        struct termios settings;
        if (m_fd < 0 || ::tcgetattr(m_fd, &settings) != 0)
            return;
        ::cfmakeraw(&settings);
        settings.c_cflag = (settings.c_cflag & ~(CSIZE | PARENB | PARODD)) | size | parity;
        ::cfsetspeed(&settings, speed);
        ::tcsetattr(m_fd, TCSANOW, &settings);
    }

    void Send(const std::string &bytes)
    {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<size_t>(n);
        }
    }

    // Exactly `count` bytes, or fewer when the deadline passes first.
    std::string Receive(size_t count, int timeoutMs = kPatienceMs)
    {
        std::string bytes;
        const int64_t deadline = NowMs() + timeoutMs;
        while (bytes.size() < count && Readable(m_fd, deadline)) {
            char buffer[256];
            const ssize_t n = ::read(m_fd, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (n <= 0)
                break;
            bytes.append(buffer, static_cast<size_t>(n));
        }
        return bytes;
    }

    // Everything up to and including the first `end`.
    std::string ReceiveUntil(const std::string &end, int timeoutMs = kPatienceMs)
    {
        std::string bytes;
        const int64_t deadline = NowMs() + timeoutMs;
        while (bytes.size() < end.size() || bytes.compare(bytes.size() - end.size(), end.size(), end) != 0) {
            const std::string byte = Receive(1, static_cast<int>(std::max<int64_t>(0, deadline - NowMs())));
            if (byte.empty())
                break;
            bytes += byte;
        }
        return bytes;
    }

private:
    int m_fd = -1;
};

} // namespace simtest
