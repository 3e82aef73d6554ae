// Where a compile run finds the text of a file before it looks on disk: an
// editor's open documents, whose unsaved text the run compiles instead of
// what is stored. velc has none and reads every file from disk.
#pragma once

#include <string>

class CSourceProvider {
public:
    virtual ~CSourceProvider() = default;
    // The text of the file at `fullPath` (UTF-8 or Windows-1252, as a file on
    // disk would hold it); false when the provider does not hold that file.
    virtual bool Contents(const std::string &fullPath, std::string &text) const = 0;
};
