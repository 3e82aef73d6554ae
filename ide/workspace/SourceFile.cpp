#include "SourceFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <stdexcept>

namespace {

// Windows-1252 characters 0x80 to 0x9F; the five unassigned codes map to the
// control characters of the same value so that they survive a round trip.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        text[i] = (c >= 0x80 && c < 0xA0) ? QChar(kHighControls[c - 0x80]) : QChar(c);
    }
    return text;
}

int Windows1252Code(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == u)
            return 0x80 + i;
    return -1;
}

bool EncodeWindows1252(const QString &text, QByteArray &bytes)
{
    bytes.resize(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const int code = Windows1252Code(text[i]);
        if (code < 0)
            return false;
        bytes[i] = static_cast<char>(code);
    }
    return true;
}

TLineEnd FirstLineEnd(const QByteArray &bytes)
{
    const int at = bytes.indexOf('\n') < 0 ? bytes.indexOf('\r')
                   : bytes.indexOf('\r') < 0 ? bytes.indexOf('\n')
                                            : std::min(bytes.indexOf('\r'), bytes.indexOf('\n'));
    if (at < 0)
        return TLineEnd::CrLf;
    if (bytes[at] == '\n')
        return TLineEnd::Lf;
    return (at + 1 < bytes.size() && bytes[at + 1] == '\n') ? TLineEnd::CrLf : TLineEnd::Cr;
}

} // namespace

TSourceText DecodeSourceText(const QByteArray &bytes)
{
    TSourceText result;
    result.lineEnd = FirstLineEnd(bytes);
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bom ? bytes.mid(3) : bytes);
    if (!utf8.hasError()) {
        result.text = text;
        result.encoding = bom ? TTextEncoding::Utf8Bom : TTextEncoding::Utf8;
    } else {
        result.text = DecodeWindows1252(bytes);
        result.encoding = TTextEncoding::Windows1252;
    }
    return result;
}

QByteArray EncodeSourceText(const QString &text, TTextEncoding &encoding)
{
    QByteArray bytes;
    if (encoding == TTextEncoding::Windows1252 && EncodeWindows1252(text, bytes))
        return bytes;
    if (encoding == TTextEncoding::Windows1252)
        encoding = TTextEncoding::Utf8;
    bytes = text.toUtf8();
    if (encoding == TTextEncoding::Utf8Bom)
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}

TSourceText LoadSourceFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()).toStdString());
    return DecodeSourceText(file.readAll());
}

void SaveSourceFile(const QString &fileName, const QString &text, TTextEncoding &encoding)
{
    TTextEncoding used = encoding;
    const QByteArray bytes = EncodeSourceText(text, used);
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()).toStdString());
    encoding = used;
}
