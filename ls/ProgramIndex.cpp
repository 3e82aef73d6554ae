#include "ProgramIndex.h"

#include "Compiler.h"
#include "Variables.h"

#include "lang/CharClass.h"
#include "lang/CodePage.h"

#include <algorithm>
#include <ostream>

namespace velmo::ls {

using namespace velmo::lang;

namespace {

// A file that includes itself through others stops the climb.
constexpr int kMaxIncludeChain = 64;

std::string Utf8Text(const std::string &text)
{
    return IsValidUtf8(text) ? text : AnsiToUtf8(text);
}

std::string FileName(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string VariableDetail(const std::string &name, int type, int length)
{
    std::string detail = TypeInfo(type).name;
    for (char &c : detail)
        c = UpperAscii(c);
    detail += ' ' + name;
    if (length > 0)
        detail += '[' + std::to_string(length) + ']';
    return detail;
}

// The engine reports lines from 1 and -1 for none; the protocol counts from 0.
int ZeroBased(int line)
{
    return line > 0 ? line - 1 : 0;
}

} // namespace

// Collects what a check reports, with file indexes; the paths are known
// only when the check is over.
class CIndexSink : public CSymbolSink {
public:
    struct Entry {
        int fileIndex;
        int line;
    };

    void Diagnostic(const std::string &text, int fileIndex, int line) override
    {
        m_diagnostics.push_back({{fileIndex, line}, {"", ZeroBased(line), Utf8Text(text)}});
    }
    void Macro(const std::string &name, const std::string &definition, int fileIndex, int line) override
    {
        AddSymbol(SymbolKind::kMacro, name, "#DEFINE " + name + definition, fileIndex, line);
    }
    void Include(const std::string &fullPath, int fileIndex, int line) override
    {
        m_includes.push_back({{fileIndex, line}, {"", ZeroBased(line), fullPath}});
    }
    void Label(const std::string &name, int fileIndex, int line) override
    {
        AddSymbol(SymbolKind::kLabel, name, name + ":", fileIndex, line);
    }
    void Variable(const std::string &name, int type, int length, int fileIndex, int line) override
    {
        AddSymbol(SymbolKind::kVariable, name, VariableDetail(name, type, length), fileIndex, line);
    }

    void MoveInto(CProgramIndex &index, const CFileList &files)
    {
        index.m_files.clear();
        for (int i = 0; i < files.Count(); ++i)
            index.m_files.push_back(files.Name(i));
        if (index.m_files.empty())
            index.m_files.push_back(m_mainPath);
        auto place = [&](auto &entries, auto &target) {
            for (auto &[where, item] : entries) {
                item.path = where.fileIndex < 0 ? index.m_files.front() : files.Name(where.fileIndex);
                target.push_back(std::move(item));
            }
        };
        place(m_symbols, index.m_symbols);
        place(m_includes, index.m_includes);
        place(m_diagnostics, index.m_diagnostics);
    }

    std::string m_mainPath;

private:
    void AddSymbol(SymbolKind kind, const std::string &name, const std::string &detail, int fileIndex, int line)
    {
        m_symbols.push_back({{fileIndex, line}, {kind, Utf8Text(name), Utf8Text(detail), "", ZeroBased(line)}});
    }
    std::vector<std::pair<Entry, SymbolDef>> m_symbols;
    std::vector<std::pair<Entry, IncludeLine>> m_includes;
    std::vector<std::pair<Entry, velmo::ls::Diagnostic>> m_diagnostics;
};

void CProgramIndex::Build(const std::string &mainPath, const CSourceProvider &sources)
{
    *this = CProgramIndex();
    std::ostream discarded(nullptr); // the banner and the file list are not wanted
    CCompiler compiler(discarded);
    CIndexSink sink;
    sink.m_mainPath = mainPath;
    compiler.m_sources = &sources;
    compiler.m_symbols = &sink;
    compiler.Check(mainPath);
    sink.MoveInto(*this, compiler.m_files);
}

bool CProgramIndex::Contains(const std::string &path) const
{
    return std::find(m_files.begin(), m_files.end(), path) != m_files.end();
}

const IncludeLine *CProgramIndex::IncluderOf(const std::string &path) const
{
    for (const IncludeLine &include : m_includes) {
        if (EqualNoCase(include.included, path))
            return &include;
    }
    return nullptr;
}

std::vector<Diagnostic> CProgramIndex::DiagnosticsFor(const std::string &path) const
{
    std::vector<Diagnostic> found;
    for (const Diagnostic &diagnostic : m_diagnostics) {
        if (diagnostic.path == path) {
            found.push_back(diagnostic);
            continue;
        }
        // Echoed on each #INCLUDE line that leads from `path` to the file.
        const std::string where = FileName(diagnostic.path) + "(" + std::to_string(diagnostic.line + 1) + "): ";
        const IncludeLine *include = IncluderOf(diagnostic.path);
        for (int depth = 0; include && depth < kMaxIncludeChain; ++depth) {
            if (include->path == path)
                found.push_back({path, include->line, where + diagnostic.message});
            include = include->path == MainPath() ? nullptr : IncluderOf(include->path);
        }
    }
    return found;
}

std::vector<const SymbolDef *> CProgramIndex::Find(const std::string &name) const
{
    std::vector<const SymbolDef *> found;
    for (const SymbolDef &symbol : m_symbols) {
        if (EqualNoCase(symbol.name, name))
            found.push_back(&symbol);
    }
    std::stable_sort(found.begin(), found.end(), [](const SymbolDef *a, const SymbolDef *b) {
        return (a->kind == SymbolKind::kMacro) > (b->kind == SymbolKind::kMacro);
    });
    return found;
}

} // namespace velmo::ls
