// What a compile run tells a listener about the program it reads: every
// message, and every macro, include line, label and variable declaration
// with the file and line it comes from. velc listens to nothing; the
// language server builds its symbol index from these calls.
#pragma once

#include <string>

class CSymbolSink {
public:
    virtual ~CSymbolSink() = default;
    // Every message the run reports, also those past the printed ten;
    // fileIndex < 0 for a message about no line of a file.
    virtual void Diagnostic(const std::string & /*text*/, int /*fileIndex*/, int /*line*/) { }
    // A #DEFINE that defined `name`; `definition` is what follows the name.
    virtual void Macro(const std::string & /*name*/, const std::string & /*definition*/, int /*fileIndex*/,
                       int /*line*/)
    {
    }
    // An #INCLUDE line naming the file `fullPath` (read or not).
    virtual void Include(const std::string & /*fullPath*/, int /*fileIndex*/, int /*line*/) { }
    virtual void Label(const std::string & /*name*/, int /*fileIndex*/, int /*line*/) { }
    // A declared variable: type 1..6 (VarType), length 0 for a plain variable.
    virtual void Variable(const std::string & /*name*/, int /*type*/, int /*length*/, int /*fileIndex*/, int /*line*/)
    {
    }
};
