#include "SourceFile.h"

#include "SafeWrite.h"
#include "Windows1252.h"

#include <QByteArrayView>
#include <QFile>

#include <stdexcept>

namespace {

TLineEnd FirstLineEnd(const QByteArray &bytes)
{
    const int at = bytes.indexOf('\n') < 0 ? bytes.indexOf('\r')
        : bytes.indexOf('\r') < 0          ? bytes.indexOf('\n')
                                           : std::min(bytes.indexOf('\r'), bytes.indexOf('\n'));
    if (at < 0)
        return TLineEnd::CrLf;
    if (bytes[at] == '\n')
        return TLineEnd::Lf;
    return (at + 1 < bytes.size() && bytes[at + 1] == '\n') ? TLineEnd::CrLf : TLineEnd::Cr;
}

} // namespace

TSourceBytes DecodeSourceBytes(const QByteArray &bytes)
{
    TSourceBytes result;
    result.lineEnd = FirstLineEnd(bytes);
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArrayView body = bom ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    if (body.isValidUtf8()) {
        result.utf8 = bom ? body.toByteArray() : bytes;
        result.encoding = bom ? TTextEncoding::Utf8Bom : TTextEncoding::Utf8;
    } else {
        result.utf8 = DecodeWindows1252(bytes).toUtf8();
        result.encoding = TTextEncoding::Windows1252;
    }
    return result;
}

TSourceText DecodeSourceText(const QByteArray &bytes)
{
    const TSourceBytes decoded = DecodeSourceBytes(bytes);
    return {QString::fromUtf8(decoded.utf8), decoded.encoding, decoded.lineEnd};
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

TSourceBytes LoadSourceFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()).toStdString());
    return DecodeSourceBytes(file.readAll());
}

void SaveSourceFile(const QString &fileName, const QString &text, TTextEncoding &encoding)
{
    TTextEncoding used = encoding;
    WriteFileSafely(fileName, EncodeSourceText(text, used));
    encoding = used;
}
