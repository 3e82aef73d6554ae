// Reading and writing the text of an editor's file. A file keeps the encoding
// it was read in (UTF-8, with or without byte-order mark, or Windows-1252) and
// its line ends, which the editor keeps verbatim in its text.
#pragma once

#include <QByteArray>
#include <QString>

enum class TTextEncoding { Utf8, Utf8Bom, Windows1252 };
enum class TLineEnd { CrLf, Lf, Cr };

struct TSourceText {
    QString text;
    TTextEncoding encoding = TTextEncoding::Utf8;
    TLineEnd lineEnd = TLineEnd::CrLf; // the kind new lines get
};

// The same text as UTF-8 bytes, the form the editor control keeps, so a
// UTF-8 file goes into the editor without being converted twice.
struct TSourceBytes {
    QByteArray utf8;
    TTextEncoding encoding = TTextEncoding::Utf8;
    TLineEnd lineEnd = TLineEnd::CrLf;
};

// Valid UTF-8 is read as UTF-8, anything else as Windows-1252. The line-end
// kind is that of the first line end; a text without any gets CR LF.
TSourceBytes DecodeSourceBytes(const QByteArray &bytes);
TSourceText DecodeSourceText(const QByteArray &bytes);

// Encodes in the given encoding. A text that Windows-1252 cannot hold is
// written as UTF-8 instead, and the encoding is changed to say so.
QByteArray EncodeSourceText(const QString &text, TTextEncoding &encoding);

// Both throw std::runtime_error with the system's reason when the file cannot
// be read or written. Saving never costs the old contents (WriteFileSafely).
TSourceBytes LoadSourceFile(const QString &fileName);
void SaveSourceFile(const QString &fileName, const QString &text, TTextEncoding &encoding);
