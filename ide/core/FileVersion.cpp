#include "FileVersion.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <optional>

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

constexpr qsizetype kChunk = 64 * 1024;
constexpr qsizetype kMaxVersion = 64;

// The version text of the record that starts at `at`, or nothing when the
// record is not closed within its length.
std::optional<QByteArray> RecordAt(const QByteArray &data, qsizetype at, const QByteArray &marker)
{
    const qsizetype start = at + marker.size();
    const qsizetype end = data.indexOf('\x01', start);
    if (end < 0 || end - start > kMaxVersion)
        return std::nullopt;
    return data.mid(start, end - start);
}

// Reads the program file a piece at a time: it can be tens of megabytes,
// which the version record does not justify holding at once. Each piece
// keeps the end of the one before, so a record across two pieces is found.
QStringList ReadRecord(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray marker = Marker();
    const qsizetype overlap = marker.size() + kMaxVersion + 1;
    QByteArray window;
    while (true) {
        const QByteArray piece = file.read(kChunk);
        window += piece;
        const bool last = piece.size() < kChunk;
        const qsizetype at = window.indexOf(marker);
        if (at >= 0 && (last || window.size() - at >= overlap)) {
            const std::optional<QByteArray> record = RecordAt(window, at, marker);
            return record ? QString::fromLatin1(*record).split('.') : QStringList();
        }
        if (last)
            return {};
        if (at < 0 && window.size() > overlap)
            window = window.right(overlap);
    }
}

// The running program carries the record it was built with, so its own
// version needs no search through its file (tens of megabytes with debugging
// information, read at every start for the splash).
QStringList RecordOf(const QString &fileName)
{
    const QString self = QCoreApplication::applicationFilePath();
    if (!self.isEmpty() && QFileInfo(fileName) == QFileInfo(self))
        return CompiledVersion().split('.');
    return ReadRecord(fileName);
}

} // namespace

QString CompiledVersion()
{
    return QString::fromLatin1(kVersionRecord + 1).section(QLatin1Char('='), 1).chopped(1);
}

QString GetFileVersion(const QString &fileName, bool full)
{
    const QStringList parts = RecordOf(fileName);
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
