#include "HexCheck.h"

#include <cctype>
#include <optional>

namespace {

constexpr int kRecordOverhead = 5; // byte count, address (2), type, checksum
constexpr int kEndOfFileType = 1;

// The record's bytes, or none when the line is no record (no colon, a digit
// that is not hexadecimal, an odd count of digits, a wrong length).
std::optional<QByteArray> RecordBytes(const QByteArray &line)
{
    if (!line.startsWith(':') || line.size() % 2 == 0)
        return std::nullopt;
    const QByteArray digits = line.mid(1);
    for (const char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    const QByteArray bytes = QByteArray::fromHex(digits);
    if (bytes.size() < kRecordOverhead || bytes.size() != quint8(bytes[0]) + kRecordOverhead)
        return std::nullopt;
    return bytes;
}

bool ChecksumValid(const QByteArray &bytes)
{
    quint8 sum = 0;
    for (const char b : bytes)
        sum = quint8(sum + quint8(b));
    return sum == 0;
}

QString LineError(qsizetype index, const char *what)
{
    return QStringLiteral("line %1 %2").arg(index + 1).arg(QString::fromLatin1(what));
}

// The reason the line is no valid record, empty when it is one.
QString RecordError(const QList<QByteArray> &records, qsizetype index, bool &endOfFile)
{
    const std::optional<QByteArray> bytes = RecordBytes(records[index]);
    if (!bytes)
        return LineError(index, records[index].isEmpty() ? "is empty" : "is no HEX record");
    if (!ChecksumValid(*bytes))
        return LineError(index, "has a wrong checksum");
    endOfFile = quint8(bytes->at(3)) == kEndOfFileType;
    return QString();
}

qsizetype WithoutTrailingEmptyLines(const QList<QByteArray> &records)
{
    qsizetype end = records.size();
    while (end > 0 && records[end - 1].isEmpty())
        --end;
    return end;
}

} // namespace

namespace HexCheck {

QString CheckRecords(QList<QByteArray> &records)
{
    const qsizetype end = WithoutTrailingEmptyLines(records);
    for (qsizetype i = 0; i < end; ++i) {
        bool endOfFile = false;
        const QString error = RecordError(records, i, endOfFile);
        if (!error.isEmpty())
            return error;
        if (endOfFile && i + 1 < end)
            return LineError(i + 1, "follows the end-of-file record");
        if (endOfFile) {
            records.resize(end);
            return QString();
        }
    }
    return end == 0 ? QStringLiteral("the file holds no records and no end-of-file record")
                    : QStringLiteral("the end-of-file record after line %1 is missing").arg(end);
}

} // namespace HexCheck
