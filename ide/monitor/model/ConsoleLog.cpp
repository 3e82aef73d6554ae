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
    if (m_file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle))
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
    m_file.write(kLineEnd);
    m_file.write(("--- Start of recording: " + TimeStamp() + " ---").toLocal8Bit());
    m_file.write(kLineEnd);
    return true;
}

void TConsoleLog::WriteLine(const QByteArray &line)
{
    if (!m_file.isOpen())
        return;
    m_file.write(line);
    m_file.write(kLineEnd);
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
    m_file.write(("--- End of recording: " + TimeStamp() + " ---").toLocal8Bit());
    m_file.write(kLineEnd);
    const bool flushed = m_file.flush();
    const bool failed = !flushed || m_file.error() != QFileDevice::NoError;
    const QString error = m_file.errorString();
    m_file.close();
    if (failed)
        throw EKorvidError(QStringLiteral("Unable to write to %1: %2").arg(m_fileName, error));
}
