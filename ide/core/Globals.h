#pragma once

#include <QString>
#include <QStringList>

// Process-wide values every part of the workbench shares.

// Directory of the running Korvid executable, with a trailing "/".
extern QString ProgramDir;

// Sets ProgramDir from the running program's path and makes "." the decimal
// separator for every number the program formats or parses; a write to a
// pipe whose reader went away fails with EPIPE instead of ending the program.
void InitGlobals();

// Sets ProgramDir explicitly (tests run from other directories).
void SetProgramDir(const QString &dir);

// The settings file: beside the program when that directory is writable,
// otherwise in the user's configuration directory.
QString SettingsFileName();

// The layout file: always "Korvid.ini" in the user's configuration directory.
QString LayoutFileName();

// Redirects both files (tests); empty names restore the normal places.
void SetSettingsFileNames(const QString &settings, const QString &layout);

// The programming manual: "Help/Velmo.pdf" beside the program (a build tree, a
// copy of the programs in a folder of one's own), or else, for an installed
// workbench <prefix>/bin/Korvid, <prefix>/share/velmo/Help/Velmo.pdf. When
// neither exists, the name beside the program.
QString ManualFileName();

// File names as given on the command line, made absolute against the current
// directory (the one Korvid was started in). Done before the window is built,
// because the working-directory panel changes the current directory.
QStringList AbsoluteFileNames(const QStringList &names);
