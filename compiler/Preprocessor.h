// The directive pass over the lines of one source file, and the macros it
// defines and expands.
#pragma once

#include "Source.h"

#include <cstddef>
#include <string>

class CCompiler;

// Runs on every file read through CCompiler::ReadSource. Drops whole-line comments, executes
// and removes the directive lines, splices in included files and expands the
// macros of every other line. Afterwards the source holds only ordinary
// program lines, each with its file index and a clear directive flag.
// With `output` (the pass over the including file) the lines are kept into
// that pass's output instead, and `source` ends empty.
void Preprocess(CCompiler &compiler, CSource &source, CSource::Walker *output = nullptr);

// The message for a source file that could not be read.
std::string ReadFailureMessage(SourceError error, const std::string &path);

// "NAME body" or "NAME(a, b) body": stores the macro under NAME, replacing an
// earlier one. False when the parameter list is malformed.
bool DefineMacro(CCompiler &compiler, const std::string &definition);
void UndefineMacro(CCompiler &compiler, const std::string &name);
// True when NAME is a macro; the macro is then copied into m_macro.
bool LookupMacro(CCompiler &compiler, const std::string &name);

// Bounds of the expansion of one line. A macro whose body names two others,
// each naming two more, and so on, doubles the line at every level; a line
// that would outgrow these bounds is reported as "Can't expand macro".
constexpr size_t kMaxExpandedLine = 4096; // characters of an expanded line
constexpr int kMaxExpansions = 1000; // macro uses expanded in one line

// Expands the macros of one ordinary line in place. A failed expansion is
// reported and ends the expansion of that line.
void ExpandMacros(CCompiler &compiler, CLine &line);
