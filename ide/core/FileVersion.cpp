#include "FileVersion.h"

#include <QFile>
#include <QStringList>

#ifndef VELMO_VERSION
#define VELMO_VERSION "0.0.0"
#endif

// The version record: a marker followed by the version and a closing byte.
// It is kept in the program file even though nothing reads it at run time.
[[gnu::used]] static const char kVersionRecord[] = "\x01"
                                                   "KORVID-FILE-VERSION=" VELMO_VERSION "\x01";

namespace {

QByteArray Marker()
{
    // Built at run time so that the search text itself is not a record.
    return QByteArray("\x01") + "KORVID-FILE-" + "VERSION=";
}

QStringList ReadRecord(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    const QByteArray marker = Marker();
    const qsizetype at = data.indexOf(marker);
    if (at < 0)
        return {};
    const qsizetype start = at + marker.size();
    const qsizetype end = data.indexOf('\x01', start);
    if (end < 0 || end - start > 64)
        return {};
    return QString::fromLatin1(data.mid(start, end - start)).split('.');
}

} // namespace

QString CompiledVersion()
{
    return QString::fromLatin1(kVersionRecord + 1).section(QLatin1Char('='), 1).chopped(1);
}

QString GetFileVersion(const QString &fileName, bool full)
{
    QStringList parts = ReadRecord(fileName);
    if (parts.isEmpty())
        return QString();
    const int count = full ? 4 : 2;
    QStringList numbers;
    for (int i = 0; i < count; ++i) {
        bool ok = false;
        const uint n = i < parts.size() ? parts[i].toUInt(&ok) : 0;
        numbers << QString::number(ok ? n : 0);
    }
    return numbers.join('.');
}
