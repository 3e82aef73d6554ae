// File-name rules shared by the driver, the include directive and the output
// writers. "/" is the separator; a "\" in a name given to the compiler counts
// as "/" too, because Velmo sources are often written on other systems.
#pragma once

#include <string>

// Adds the extension (".bas") only when the file-name part has none at all.
std::string AddDefaultExtension(const std::string &name, const std::string &extension);

// Replaces the extension of the file-name part, or adds it when there is none.
std::string ReplaceExtension(const std::string &name, const std::string &extension);

// One leading "\" is dropped. A name starting with "/" is absolute and kept
// as it is; any other name is joined to the base directory (the current
// directory when base is empty) and "." and ".." are resolved textually.
std::string MakeFullPath(const std::string &name, const std::string &base = "");

// The path without its last component ("/" for a file in the root).
std::string DirectoryOf(const std::string &path);

// The process's current directory, "" when it cannot be determined.
std::string CurrentDirectory();
