#pragma once

#include <QString>
#include <QStringList>

// The program image a compile writes and the source files it is built from,
// for deciding whether the image still matches the sources.

// The image a compile of source writes beside it: the source's name with its
// extension replaced by ".hex".
QString ImageFileOf(const QString &source);

// Whether a file may be the source of a program: any file but those the
// compiler and the console write (the image, the listing, a console log).
bool IsProgramSource(const QString &file);

// The files a compile of source reads: source first, then, followed through
// their #INCLUDE lines, the files they include, each once, named as the
// compiler finds them (".bas" added to a name without an extension, relative
// to the folder of the including file). Conditions are not evaluated: a file
// included only under one counts too. Files that cannot be read add nothing.
QStringList ProgramSources(const QString &source);

// Whether the image is missing or older than one of the sources.
bool ImageOutOfDate(const QString &image, const QStringList &sources);
