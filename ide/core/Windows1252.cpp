#include "Windows1252.h"

#include "lang/CodePage.h"

namespace {

// The bytes 0x80..0x9F, the only ones whose code point is not their value.
constexpr int kHighFirst = 0x80;
constexpr int kHighEnd = 0xA0;

} // namespace

QString DecodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(velmo::lang::AnsiCodePoint(static_cast<unsigned char>(bytes[i]))));
    return text;
}

int Windows1252Code(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < kHighFirst || (u >= kHighEnd && u <= 0xFF))
        return u;
    for (int code = kHighFirst; code < kHighEnd; ++code) {
        if (velmo::lang::AnsiCodePoint(static_cast<unsigned char>(code)) == u)
            return code;
    }
    return -1;
}

bool EncodeWindows1252(const QString &text, QByteArray &bytes)
{
    bytes.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int code = Windows1252Code(text[i]);
        if (code < 0)
            return false;
        bytes[i] = static_cast<char>(code);
    }
    return true;
}
