#pragma once

#include <QString>

// The version of a program file, read from the version record the build puts
// into it: numbers joined by "."; two numbers (major, minor) unless full, then
// four (major, minor, release, build). Empty when the file has no version record.
QString GetFileVersion(const QString &fileName, bool full);

// The version record of the running program, as GetFileVersion reads it.
QString CompiledVersion();
