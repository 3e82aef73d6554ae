#include "TerminalKeeper.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// The descriptor stays open for the whole run, so the settings go back onto
// the same device even when the port has closed it in between.
TTerminalKeeper::TTerminalKeeper(const QString &devicePath)
{
    const int fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_openError = errno;
        return;
    }
    if (::tcgetattr(fd, &m_found) != 0) {
        m_openError = errno;
        ::close(fd);
        return;
    }
    m_fd = fd;
}

TTerminalKeeper::~TTerminalKeeper()
{
    if (m_fd < 0)
        return;
    ::tcsetattr(m_fd, TCSANOW, &m_found);
    ::close(m_fd);
}
