#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <functional>

// Recording of the console to a log file: the start line, every screen line
// that leaves the screen, and at the end the lines still on the screen and
// the end line. Lines are written as they are stored, blanks included, each
// with CR LF.
class TConsoleLog {
public:
    TConsoleLog() = default;
    TConsoleLog(const TConsoleLog &) = delete;
    TConsoleLog &operator=(const TConsoleLog &) = delete;

    // The log file name, kept as chosen (file names differ by case here).
    QString FileName() const
    {
        return m_fileName;
    }
    void SetFileName(const QString &name)
    {
        m_fileName = name;
    }
    bool Logging() const
    {
        return m_file.isOpen();
    }

    // Opens the file for appending (creating it), writes a line break and the
    // start line. False when the file cannot be opened (also a named pipe
    // nobody reads): nothing is recorded.
    bool Start();
    void WriteLine(const QByteArray &line);
    void WriteLines(const QList<QByteArray> &lines);
    // Writes the lines still shown and the end line and closes the file. The
    // first write error since the start is raised here (EKorvidError).
    void Stop(const QList<QByteArray> &lines);

    // Called once, at the first write that fails (a full disk, a pipe whose
    // reader went away), with the error text Stop raises; nothing more is
    // written until the recording stops.
    std::function<void(const QString &error)> OnWriteFailed;

    // The date and time as the start and end lines show them.
    static QString TimeStamp();

private:
    bool OpenWithoutWaiting();
    void Write(const QByteArray &bytes);

    QString m_fileName;
    QFile m_file;
    QString m_error; // the first failed write's, empty while all went well
};
