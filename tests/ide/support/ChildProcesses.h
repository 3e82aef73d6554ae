#pragma once

// The processes a test has started, as the system lists them under /proc:
// whether one is gone, and which children of a given name still run.

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <unistd.h>

struct TProcessInfo {
    char state = 0; // the state letter; 0 when the process is gone
    qint64 parent = 0;
    QByteArray name;
};

inline TProcessInfo ProcessInfo(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.readAll();
    const qsizetype open = text.indexOf('('), close = text.lastIndexOf(')');
    if (open < 0 || close < open)
        return {};
    const QList<QByteArray> rest = text.mid(close + 2).split(' ');
    if (rest.size() < 2 || rest[0].isEmpty())
        return {};
    return {rest[0].at(0), rest[1].toLongLong(), text.mid(open + 1, close - open - 1)};
}

// Gone, or only its exit status left for a parent that does not reap it.
inline bool ProcessGone(qint64 pid)
{
    const char state = ProcessInfo(pid).state;
    return state == 0 || state == 'Z' || state == 'X';
}

// The children of this process with that program name that still run.
inline QList<qint64> RunningChildren(const QByteArray &name)
{
    QList<qint64> pids;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        const TProcessInfo info = number ? ProcessInfo(pid) : TProcessInfo();
        if (info.parent == ::getpid() && info.name == name && !ProcessGone(pid))
            pids << pid;
    }
    return pids;
}
