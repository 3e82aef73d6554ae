// The directive pass: #DEFINE, #UNDEF, #IFDEF, #IFNDEF, #ELSE, #ENDIF,
// #TARGET and #INCLUDE. Directive lines are executed and removed; included
// files are spliced in place of their #INCLUDE line; every other line is
// given its file index and has its macros expanded.
#include "Preprocessor.h"

#include "Compiler.h"
#include "LanguageNames.h"
#include "Messages.h"
#include "Paths.h"
#include "Scanner.h"
#include "Source.h"

namespace {

// clang-format off
constexpr char kDefineExpected[]  = "#define expected an identifier.";
constexpr char kBadDefinition[]   = "Syntax error in macro definition.";
constexpr char kUndefExpected[]   = "#undef expected an identifier.";
constexpr char kIfdefExpected[]   = "#ifdef expected an identifier.";
constexpr char kIfndefExpected[]  = "#ifndef expected an identifier.";
constexpr char kElseWithoutIf[]   = "#else without #if[n]def.";
constexpr char kEndifWithoutIf[]  = "#endif without #if[n]def.";
constexpr char kTargetExpected[]  = "#target expected a target name.";
constexpr char kUnknownTarget[]   = "Unknown target name.";
constexpr char kIncludeExpected[] = "#include expected a file name.";
constexpr char kUnknownDirective[] = "Unknown directive.";
constexpr char kUnexpectedEnd[]   = "Unexpected end of file";
// clang-format on

// The text of a #DEFINE line up to its comment: the first apostrophe that
// is not inside a string constant.
std::string UpToComment(const std::string &text)
{
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        if (text[i] == '\'' && !quoted)
            return text.substr(0, i);
    }
    return text;
}

// The first symbol of a line that may be a directive; any line that does
// not begin with "#" counts as an ordinary line.
TSYMBOL DirectiveOf(ScanState &scan, CLine &line)
{
    if (line.m_text.empty() || line.m_text[0] != '#')
        return symEndOfLine;
    scan.m_activeExpansions.clear();
    return line.GetSymbol(scan, 0);
}

class CDirectivePass {
public:
    CDirectivePass(CCompiler &compiler, CSource &source)
        : m_compiler(compiler)
        , m_source(source)
        , m_walk(source)
    {
    }
    // The pass over an included file keeps its lines into the includer's output.
    CDirectivePass(CCompiler &compiler, CSource &source, CSource::Walker &output)
        : m_compiler(compiler)
        , m_source(source)
        , m_walk(source, output)
    {
    }

    void Run();

private:
    using Handler = void (CDirectivePass::*)();
    struct Directive {
        TSYMBOL symbol;
        Handler handler;
    };
    static const Directive kDirectives[];

    CCompiler &m_compiler;
    CSource &m_source;
    CSource::Walker m_walk;
    CLine m_line; // copy of the directive line being executed
    int m_fileIndex = 0;
    int m_depth = 0; // open #IFDEF / #IFNDEF blocks of this file

    void Step();
    void OrdinaryLine(CLine &line);
    void Report(const std::string &text)
    {
        m_compiler.ReportError(text, m_fileIndex, m_line.m_lineNumber);
    }
    bool NextIs(TSYMBOL symbol)
    {
        return m_line.GetSymbol(m_compiler.m_scan, -1) == symbol;
    }
    void SkipBlock();

    void Define();
    void Undef();
    void IfDef()
    {
        Conditional(true, kIfdefExpected);
    }
    void IfNDef()
    {
        Conditional(false, kIfndefExpected);
    }
    void Conditional(bool defined, const char *message);
    void Else();
    void EndIf();
    void Target();
    void Include();
    bool CanInclude(const std::string &name);
};

const CDirectivePass::Directive CDirectivePass::kDirectives[] = {
    {symDirDEFINE, &CDirectivePass::Define}, {symDirUNDEF, &CDirectivePass::Undef},
    {symDirIFDEF, &CDirectivePass::IfDef},   {symDirIFNDEF, &CDirectivePass::IfNDef},
    {symDirELSE, &CDirectivePass::Else},     {symDirENDIF, &CDirectivePass::EndIf},
    {symDirTARGET, &CDirectivePass::Target}, {symDirINCLUDE, &CDirectivePass::Include},
};

void CDirectivePass::Run()
{
    m_fileIndex = m_compiler.m_files.FindOrAdd(m_source.Name());
    while (!m_walk.AtEnd())
        Step();
    m_walk.Done();
    if (m_depth != 0)
        m_compiler.ReportError(kUnexpectedEnd, m_fileIndex, -1);
}

// One line at the cursor: a whole-line comment is dropped, an ordinary line
// kept, a directive line executed and dropped.
void CDirectivePass::Step()
{
    CLine &line = m_walk.Current();
    line.m_directive = true;
    if (line.m_text[0] == '\'') {
        m_walk.Drop();
        return;
    }
    if (line.m_text[0] != '#') {
        OrdinaryLine(line);
        return;
    }
    m_line = line;
    m_walk.Drop();
    const TSYMBOL symbol = DirectiveOf(m_compiler.m_scan, m_line);
    for (const Directive &directive : kDirectives) {
        if (directive.symbol == symbol) {
            (this->*directive.handler)();
            return;
        }
    }
    Report(kUnknownDirective);
}

void CDirectivePass::OrdinaryLine(CLine &line)
{
    line.m_directive = false;
    line.m_fileIndex = m_fileIndex;
    ExpandMacros(m_compiler, line);
    m_walk.Keep();
}

// Drops the lines of a conditional block that is not compiled, up to its
// #ELSE (dropped; the lines after it are compiled) or its #ENDIF (kept, so
// that the walk closes the block). Nested blocks are skipped as a whole and
// nothing inside is executed or checked.
void CDirectivePass::SkipBlock()
{
    int nesting = 0;
    while (!m_walk.AtEnd()) {
        CLine &line = m_walk.Current();
        line.m_directive = true;
        const TSYMBOL symbol = DirectiveOf(m_compiler.m_scan, line);
        if (symbol == symDirENDIF && nesting == 0)
            return;
        if (symbol == symDirIFDEF || symbol == symDirIFNDEF)
            ++nesting;
        if (symbol == symDirENDIF)
            --nesting;
        m_walk.Drop();
        if (symbol == symDirELSE && nesting == 0)
            return;
    }
}

// #DEFINE name body  |  #DEFINE name(param, ...) body
void CDirectivePass::Define()
{
    if (!NextIs(symIdent)) {
        Report(kDefineExpected);
        return;
    }
    const std::string definition =
        m_compiler.m_scan.m_text + UpToComment(m_line.m_text.substr(m_compiler.m_scan.m_pos));
    if (!DefineMacro(m_compiler, definition))
        Report(kBadDefinition);
    else if (m_compiler.m_symbols)
        m_compiler.m_symbols->Macro(m_compiler.m_scan.m_text, definition.substr(m_compiler.m_scan.m_text.size()),
                                    m_fileIndex, m_line.m_lineNumber);
}

// #UNDEF name
void CDirectivePass::Undef()
{
    if (!NextIs(symIdent)) {
        Report(kUndefExpected);
        return;
    }
    UndefineMacro(m_compiler, m_compiler.m_scan.m_text);
}

// #IFDEF name  |  #IFNDEF name
void CDirectivePass::Conditional(bool defined, const char *message)
{
    if (!NextIs(symIdent))
        Report(message);
    ++m_depth;
    if (LookupMacro(m_compiler, m_compiler.m_scan.m_text) != defined)
        SkipBlock();
}

// #ELSE
void CDirectivePass::Else()
{
    if (m_depth == 0) {
        Report(kElseWithoutIf);
        return;
    }
    SkipBlock();
}

// #ENDIF
void CDirectivePass::EndIf()
{
    if (m_depth == 0) {
        Report(kEndifWithoutIf);
        return;
    }
    --m_depth;
}

// #TARGET ZENTRA8 | ZENTRA16 | ZENTRAVIEW
void CDirectivePass::Target()
{
    if (!NextIs(symIdent)) {
        Report(kTargetExpected);
        return;
    }
    if (!m_compiler.m_target.SetTarget(m_compiler.m_scan.m_text))
        Report(kUnknownTarget);
}

// #INCLUDE "file"  -- relative to the directory of the including file,
// ".bas" added when the name has no extension. Every file is read at most
// once per program, so a file can never include itself.
void CDirectivePass::Include()
{
    if (!NextIs(symString)) {
        Report(kIncludeExpected);
        return;
    }
    // The source text is Windows-1252; file names on this system are UTF-8.
    const std::string name =
        MakeFullPath(AddDefaultExtension(AnsiToUtf8(m_compiler.m_scan.m_text), ".bas"), DirectoryOf(m_source.Name()));
    if (m_compiler.m_symbols)
        m_compiler.m_symbols->Include(name, m_fileIndex, m_line.m_lineNumber);
    if (!CanInclude(name))
        return;
    CSource included;
    ++m_compiler.m_includeDepth;
    const bool read = m_compiler.ReadSource(included, name, &m_walk);
    --m_compiler.m_includeDepth;
    if (!read)
        Report(ReadFailureMessage(included.Error(), name));
}

// A name with a NUL cannot name a file: opened, it would stop at the NUL and
// read another file than the one the read-once rule compared.
bool CDirectivePass::CanInclude(const std::string &name)
{
    if (name.find('\0') != std::string::npos) {
        Report(Format(kInvalidFileName, PrintableName(name)));
        return false;
    }
    if (m_compiler.m_files.Find(name) >= 0) {
        Report(Format(kAlreadyCompiled, PrintableName(name)));
        return false;
    }
    if (m_compiler.m_includeDepth >= kMaxIncludeDepth) {
        Report(Format(kIncludeTooDeep, kMaxIncludeDepth));
        return false;
    }
    return true;
}

} // namespace

void Preprocess(CCompiler &compiler, CSource &source, CSource::Walker *output)
{
    if (output)
        CDirectivePass(compiler, source, *output).Run();
    else
        CDirectivePass(compiler, source).Run();
}

std::string ReadFailureMessage(SourceError error, const std::string &path)
{
    const std::string name = PrintableName(path);
    switch (error) {
    case SourceError::kNotRegularFile:
        return Format(kNotRegularFile, name);
    case SourceError::kTooLarge:
        return Format(Format(kFileTooLarge, kMaxSourceMegabytes).c_str(), name);
    default:
        return Format(kCantOpenFile, name);
    }
}

bool DefineMacro(CCompiler &compiler, const std::string &definition)
{
    const size_t start = definition.find_first_not_of(" \t");
    if (start == std::string::npos)
        return false;
    size_t end = start;
    while (end < definition.size() && IsWordChar(definition[end]))
        ++end;
    if (end == start)
        return false;
    CMacro macro;
    if (!macro.Parse(definition.substr(end)))
        return false;
    compiler.m_defines.Define(definition.substr(start, end - start), macro);
    return true;
}

void UndefineMacro(CCompiler &compiler, const std::string &name)
{
    compiler.m_defines.Undefine(name);
}

bool LookupMacro(CCompiler &compiler, const std::string &name)
{
    const CMacro *macro = compiler.m_defines.Find(name);
    if (macro)
        compiler.m_macro = *macro;
    return macro != nullptr;
}
