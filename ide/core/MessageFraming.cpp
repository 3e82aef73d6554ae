#include "MessageFraming.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace {

const QByteArray kHeaderEnd = QByteArrayLiteral("\r\n\r\n");
const QByteArray kLengthField = QByteArrayLiteral("content-length:");

// The body length a header block announces, -1 without a valid one.
qsizetype LengthOf(const QByteArray &header)
{
    for (const QByteArray &line : header.split('\n')) {
        const QByteArray field = line.trimmed().toLower();
        if (!field.startsWith(kLengthField))
            continue;
        bool ok = false;
        const qlonglong length = field.mid(kLengthField.size()).trimmed().toLongLong(&ok);
        return ok && length >= 0 && length <= TMessageReader::kMaxMessage ? qsizetype(length) : -1;
    }
    return -1;
}

} // namespace

QByteArray FrameMessage(const QJsonObject &message)
{
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

std::optional<QJsonObject> TMessageReader::Next()
{
    if (m_broken)
        return std::nullopt;
    const qsizetype headerEnd = m_buffer.indexOf(kHeaderEnd);
    if (headerEnd < 0)
        return m_buffer.size() > kMaxHeader ? Fail() : std::nullopt;
    const qsizetype length = LengthOf(m_buffer.left(headerEnd));
    if (length < 0)
        return Fail();
    const qsizetype bodyStart = headerEnd + kHeaderEnd.size();
    if (m_buffer.size() < bodyStart + length)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(m_buffer.mid(bodyStart, length), &error);
    m_buffer.remove(0, bodyStart + length);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Fail();
    return document.object();
}

std::optional<QJsonObject> TMessageReader::Fail()
{
    m_broken = true;
    m_buffer.clear();
    return std::nullopt;
}
