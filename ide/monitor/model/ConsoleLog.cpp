#include "ConsoleLog.h"

#include "Errors.h"

#include <QDateTime>
#include <QLocale>

namespace {

const char kLineEnd[] = "\r\n";

} // namespace

QString TConsoleLog::TimeStamp()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + ' ' + locale.toString(now.time(), QLocale::LongFormat);
}

bool TConsoleLog::Start()
{
    if (m_fileName.isEmpty())
        return false;
    m_file.setFileName(m_fileName);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
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
