#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files and captured program output reach the workbench as bytes. A text
// that is valid UTF-8 is read as UTF-8 (a leading byte-order mark dropped),
// anything else as Windows-1252.
QString DecodeText(const QByteArray &bytes);

// Splits a text into lines: CR LF, LF alone and CR alone each end a line. A
// line end at the very end of the text does not start another (empty) line.
QStringList SplitLines(const QString &text);

// Reads a whole file as lines. Returns false and sets error to the system's
// message when the file cannot be read.
bool ReadTextLines(const QString &fileName, QStringList &lines, QString &error);
