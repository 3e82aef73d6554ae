// What the compiler knows of one program, from one check of its unsaved
// text: the messages on every file and the symbols it declares.
#pragma once

#include "SourceProvider.h"

#include <string>
#include <vector>

namespace velmo::ls {

enum class SymbolKind { kVariable, kLabel, kMacro };

struct SymbolDef {
    SymbolKind kind = SymbolKind::kVariable;
    std::string name; // as written where it is declared
    std::string detail; // "INTEGER count[10]", "#DEFINE LIMIT 5", "label"
    std::string path;
    int line = 0; // 0-based
};

// An #INCLUDE line: in `path` at `line`, naming `included`.
struct IncludeLine {
    std::string path;
    int line = 0;
    std::string included;
};

struct Diagnostic {
    std::string path;
    int line = 0; // 0-based
    std::string message; // UTF-8
};

class CProgramIndex {
public:
    // Checks the program whose main file is `mainPath` with the engine,
    // taking files from `sources` before the disk.
    void Build(const std::string &mainPath, const CSourceProvider &sources);

    const std::string &MainPath() const
    {
        return m_files.front();
    }
    // Every file read, the main file first.
    const std::vector<std::string> &Files() const
    {
        return m_files;
    }
    bool Contains(const std::string &path) const;
    // The messages on lines of `path`, and on its #INCLUDE lines those of
    // the files it includes.
    std::vector<Diagnostic> DiagnosticsFor(const std::string &path) const;
    // Every symbol of that name (any case): macros first, as the directive
    // pass replaces them before anything else reads the line.
    std::vector<const SymbolDef *> Find(const std::string &name) const;
    const std::vector<SymbolDef> &Symbols() const
    {
        return m_symbols;
    }
    const std::vector<IncludeLine> &Includes() const
    {
        return m_includes;
    }

private:
    friend class CIndexSink;
    const IncludeLine *IncluderOf(const std::string &path) const;
    std::vector<std::string> m_files{std::string()};
    std::vector<SymbolDef> m_symbols;
    std::vector<IncludeLine> m_includes;
    std::vector<Diagnostic> m_diagnostics;
};

} // namespace velmo::ls
