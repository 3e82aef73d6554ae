#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// Windows-1252, the code page of sources and settings files written on other
// systems, as QString text. The table is the language's (lang/CodePage.h):
// it differs from Latin-1 only in 0x80..0x9F; the five unassigned codes map
// to the control characters of the same value so that they survive a round
// trip.

QString DecodeWindows1252(const QByteArray &bytes);

// The code of a character in Windows-1252, or -1 when it has none.
int Windows1252Code(QChar ch);

// Encodes a text; false when a character has no Windows-1252 code.
bool EncodeWindows1252(const QString &text, QByteArray &bytes);
