#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace velsim {

namespace {

constexpr speed_t kLoaderSpeed = B9600;

bool MakeRaw(int fd)
{
    struct termios settings;
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, kLoaderSpeed);
    ::cfsetospeed(&settings, kLoaderSpeed);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

std::string SystemError(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

CPseudoTerminal::~CPseudoTerminal()
{
    for (int fd : {m_notify, m_keeper, m_master}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool CPseudoTerminal::Open(std::string &error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = SystemError("cannot create a pseudo-terminal");
        return false;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        error = SystemError("cannot name the pseudo-terminal");
        return false;
    }
    m_path = name;
    m_keeper = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_keeper < 0 || !MakeRaw(m_keeper)) {
        error = SystemError("cannot set up the pseudo-terminal");
        return false;
    }
    // Opened after the keeper, so every event it reports is someone else's.
    m_notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_notify >= 0 && ::inotify_add_watch(m_notify, name, IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_notify);
        m_notify = -1;
    }
    return true;
}

void CPseudoTerminal::HandleEvent()
{
    alignas(struct inotify_event) char buffer[4096];
    const ssize_t n = ::read(m_notify, buffer, sizeof buffer);
    for (ssize_t pos = 0; pos < n;) {
        const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + pos);
        if (event->mask & IN_OPEN) {
            ++m_peers;
            m_everOpened = true;
        }
        if ((event->mask & IN_CLOSE) && m_peers > 0)
            --m_peers;
        if (event->mask & IN_Q_OVERFLOW)
            m_peers = 1; // events were lost: assume someone is there
        pos += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
    }
}

bool CPseudoTerminal::Listening() const
{
    return m_notify < 0 || m_peers > 0;
}

void CPseudoTerminal::DiscardUnread()
{
    ::tcflush(m_keeper, TCIFLUSH);
}

} // namespace velsim
