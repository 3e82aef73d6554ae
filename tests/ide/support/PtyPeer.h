#pragma once

// A scripted peer on a pseudo-terminal pair: the code under test opens the
// device path (the terminal side), the test writes and reads the other side.
// A symbolic link in a temporary folder can stand for the device, so that a
// new pair can take the place of one whose peer went away.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

class TPtyPeer {
public:
    TPtyPeer()
    {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (::openpty(&m_master, &m_terminal, name, &raw, nullptr) == 0) {
            m_path = QString::fromLocal8Bit(name);
            ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
            // A program the test starts must not keep the peer's side open:
            // hanging up would not reach it.
            ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
            ::fcntl(m_terminal, F_SETFD, FD_CLOEXEC);
        }
    }
    ~TPtyPeer()
    {
        Hangup();
        if (m_terminal >= 0)
            ::close(m_terminal);
    }
    TPtyPeer(const TPtyPeer &) = delete;
    TPtyPeer &operator=(const TPtyPeer &) = delete;

    bool Valid() const
    {
        return m_master >= 0;
    }
    // The terminal side's device path (/dev/pts/N).
    QString Path() const
    {
        return m_path;
    }
    // The test's own descriptor of the terminal side, opened before the code
    // under test: tcgetattr on it reads the settings the device has.
    int TerminalFd() const
    {
        return m_terminal;
    }
    termios Attributes() const
    {
        termios t{};
        ::tcgetattr(m_terminal, &t);
        return t;
    }

    void Write(const QByteArray &bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
            } else if (n < 0 && errno == EAGAIN) {
                pollfd p = {m_master, POLLOUT, 0};
                ::poll(&p, 1, 1000);
            } else {
                return;
            }
        }
    }
    // What the code under test wrote: reads until `count` bytes came or
    // the deadline passed.
    QByteArray Read(qsizetype count, int timeoutMs = 5000)
    {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < timeoutMs) {
            pollfd p = {m_master, POLLIN, 0};
            if (::poll(&p, 1, int(std::max<qint64>(1, timeoutMs - timer.elapsed()))) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, n);
            else if (n < 0 && errno != EAGAIN)
                break;
        }
        return got;
    }
    // Whatever is waiting now, without waiting.
    QByteArray ReadAvailable()
    {
        QByteArray got;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(m_master, buffer, sizeof buffer)) > 0)
            got.append(buffer, n);
        return got;
    }
    // How many bytes the code under test wrote that the peer has not read.
    int Unread() const
    {
        int count = 0;
        return ::ioctl(m_master, FIONREAD, &count) == 0 ? count : -1;
    }
    // The peer goes away (a serial adapter unplugged).
    void Hangup()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    // Closes the test's own descriptor of the terminal side.
    void CloseTerminal()
    {
        if (m_terminal >= 0)
            ::close(m_terminal);
        m_terminal = -1;
    }

private:
    int m_master = -1;
    int m_terminal = -1;
    QString m_path;
};

// The event loop the port's events are delivered through, for programs
// that have no application object of their own (GoogleTest).
inline void EnsureCoreApplication()
{
    static int argc = 1;
    static char name[] = "test";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        static QCoreApplication app(argc, argv);
}

// Waits, handling events, until the condition holds or the time is up. A
// short timer bounds each wait for events, so conditions that no event
// announces are seen as well.
inline bool WaitFor(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    QTimer tick;
    tick.start(2);
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
