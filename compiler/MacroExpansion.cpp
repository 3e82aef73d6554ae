// Macro expansion of one program line. Each use of a macro is replaced by
// its body followed by the end-of-expansion mark 0x03; scanning goes on at
// the start of the inserted body, so macros inside it are expanded in turn.
// While a macro's body is being scanned its name is on the active expansions and
// it is not expanded again; the scanner pops the name when it passes the mark.
#include "Preprocessor.h"

#include "LanguageNames.h"

#include "Compiler.h"
#include "Scanner.h"
#include "Source.h"

#include <strings.h>

#include <vector>

namespace {

constexpr char kCantExpand[] = "Can't expand macro: '%s'.";

bool IsActive(const ScanState &scan, const std::string &name)
{
    for (const std::string &active : scan.m_activeExpansions) {
        if (strcasecmp(active.c_str(), name.c_str()) == 0)
            return true;
    }
    return false;
}

// White space at both ends of a macro argument.
std::string TrimArgument(const std::string &text)
{
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

// The argument list of one macro use, read from the line's text.
class CArgumentReader {
public:
    CArgumentReader(const std::string &text, size_t pos)
        : m_pos(pos)
        , m_text(text)
    {
    }

    // Reads "(" arg, ... ")" after blanks; false when "(" is missing, an
    // argument is empty or the text ends before the closing ")".
    bool Read();

    std::vector<std::string> m_args;
    size_t m_pos; // after a successful Read: index just behind the ")"
    int m_marks = 0; // end-of-expansion marks passed on the way; they belong
                     // to enclosing expansions and must be put back

private:
    const std::string &m_text;
    std::string m_arg;
    int m_parens = 0, m_brackets = 0;
    bool m_quoted = false;

    bool AtEnd() const
    {
        return m_pos >= m_text.size();
    }
    bool EndArgument();
    int ArgumentChar(char c); // 1: argument goes on, 0: list ends, -1: fails
};

bool CArgumentReader::Read()
{
    while (!AtEnd() && static_cast<unsigned char>(m_text[m_pos]) <= 32) {
        if (m_text[m_pos++] == kEndOfExpansion)
            ++m_marks;
    }
    if (AtEnd() || m_text[m_pos] != '(')
        return false;
    ++m_pos;
    for (;;) {
        if (AtEnd())
            return false;
        const int result = ArgumentChar(m_text[m_pos++]);
        if (result <= 0)
            return result == 0;
    }
}

// An argument ends at "," or ")" outside string constants and parentheses;
// a "," inside square brackets does not end it either.
int CArgumentReader::ArgumentChar(char c)
{
    if (c == kEndOfExpansion) {
        ++m_marks;
        return 1;
    }
    if (m_quoted || c == '"') {
        if (c == '"')
            m_quoted = !m_quoted;
    } else if (c == ')' && m_parens == 0) {
        return EndArgument() ? 0 : -1;
    } else if (c == ',' && m_parens == 0 && m_brackets == 0) {
        return EndArgument() ? 1 : -1;
    } else if (c == '(' || c == ')') {
        m_parens += c == '(' ? 1 : -1;
    } else if (c == '[' || (c == ']' && m_brackets > 0)) {
        m_brackets += c == '[' ? 1 : -1;
    }
    m_arg += c;
    return 1;
}

bool CArgumentReader::EndArgument()
{
    m_args.push_back(TrimArgument(m_arg));
    m_arg.clear();
    return !m_args.back().empty();
}

// Replaces the macro use whose name the scanner has just read. The macro is
// in compiler.m_macro. False when the use cannot be expanded.
bool ExpandUse(CCompiler &compiler, CLine &line, int &expansions)
{
    ScanState &scan = compiler.m_scan;
    const std::string name = scan.m_text;
    const size_t start = static_cast<size_t>(scan.m_pos) - name.size();
    std::string &text = line.m_text;
    text.erase(start, name.size());
    scan.m_activeExpansions.push_back(name);
    const CMacro &macro = compiler.m_macro;
    std::string body = macro.m_body;
    size_t end = start;
    int marks = 0;
    if (macro.m_paramCount > 0) {
        CArgumentReader reader(text, start);
        if (!reader.Read() || static_cast<int>(reader.m_args.size()) != macro.m_paramCount)
            return false;
        body = macro.Substitute(reader.m_args);
        end = reader.m_pos;
        marks = reader.m_marks;
    }
    body += std::string(1 + static_cast<size_t>(marks), kEndOfExpansion);
    // Only a line that grows is bounded; a long line that a use shortens is not.
    const size_t grown = text.size() - (end - start) + body.size();
    if (++expansions > kMaxExpansions || (grown > kMaxExpandedLine && grown > text.size() + name.size())) {
        return false;
    }
    text.replace(start, end - start, body);
    scan.m_pos = static_cast<int>(start);
    return true;
}

bool IsRadixDigit(char c, bool hex)
{
    return c == '0' || c == '1' ||
        (hex && ((c >= '2' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')));
}

// False when no word of the line can be a macro use, so the line needs no
// scan. Words are cut as the scanner cuts them (digits, and the digits after
// "$" and "%", are never the start of a word); string constants and the
// comment are passed over, as the scanner never reads words in them.
bool MayUseMacros(const CDefineList &defines, const std::string &text)
{
    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        const char c = text[i];
        if (c == '\'')
            return false;
        if (c == '"') {
            i = text.find('"', i + 1); // npos for a string that runs to the end
            i = i == std::string::npos ? size : i + 1;
        } else if (c == '$' || c == '%') {
            ++i;
            while (i < size && IsRadixDigit(text[i], c == '$'))
                ++i;
        } else if (IsWordStart(c)) {
            const size_t start = i;
            while (i < size && IsWordChar(text[i]))
                ++i;
            if (defines.MayBeMacro(std::string_view(text).substr(start, i - start)))
                return true;
        } else {
            ++i;
        }
    }
    return false;
}

} // namespace

void ExpandMacros(CCompiler &compiler, CLine &line)
{
    if (!MayUseMacros(compiler.m_defines, line.m_text))
        return;
    ScanState &scan = compiler.m_scan;
    scan.m_activeExpansions.clear();
    int expansions = 0;
    for (TSYMBOL symbol = line.GetSymbol(scan, 0); symbol != symEndOfLine; symbol = line.GetSymbol(scan, -1)) {
        if (symbol != symIdent || !LookupMacro(compiler, scan.m_text) || IsActive(scan, scan.m_text))
            continue;
        const std::string name = scan.m_text;
        if (!ExpandUse(compiler, line, expansions)) {
            compiler.ReportError(Format(kCantExpand, name), line.m_fileIndex, line.m_lineNumber);
            return;
        }
    }
}
