#include "ConsoleLog.h"

#include "Errors.h"

#include <QDateTime>
#include <QLocale>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char kLineEnd[] = "\r\n";

} // namespace

QString TConsoleLog::TimeStamp()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + ' ' + locale.toString(now.time(), QLocale::LongFormat);
}

// A named pipe nobody reads would block open() for good: opened without
// waiting it is refused (ENXIO); what opens is then written to blocking, so no
// line is dropped.
bool TConsoleLog::OpenWithoutWaiting()
{
    const QByteArray path = QFile::encodeName(m_fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Unbuffered: a write that fails is known at once, not at the stop. The
    // descriptor appends (O_APPEND); a seek to the end would fail on a pipe.
    if (m_file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

bool TConsoleLog::Start()
{
    if (m_fileName.isEmpty())
        return false;
    if (!OpenWithoutWaiting())
        return false;
    m_error.clear();
    Write(kLineEnd + ("--- Start of recording: " + TimeStamp() + " ---").toLocal8Bit() + kLineEnd);
    return true;
}

void TConsoleLog::WriteLine(const QByteArray &line)
{
    if (m_file.isOpen())
        Write(line + kLineEnd);
}

void TConsoleLog::Write(const QByteArray &bytes)
{
    if (!m_error.isEmpty() || m_file.write(bytes) == bytes.size())
        return;
    m_error = QStringLiteral("Unable to write to %1: %2").arg(m_fileName, m_file.errorString());
    if (OnWriteFailed)
        OnWriteFailed(m_error);
}

void TConsoleLog::WriteLines(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        WriteLine(line);
}

void TConsoleLog::Stop(const QList<QByteArray> &lines)
{
    if (!m_file.isOpen())
        return;
    WriteLines(lines);
    Write(("--- End of recording: " + TimeStamp() + " ---").toLocal8Bit() + kLineEnd);
    const QString error = m_error;
    m_error.clear();
    m_file.close();
    if (!error.isEmpty())
        throw EKorvidError(error);
}
