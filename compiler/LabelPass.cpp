// The label pass: "name:" at the start of a program line defines a label.
// The pass records it in CCompiler::m_labels (upper-case name -> index of
// the program line it marks) and removes the label text from the program.
#include "LabelPass.h"

#include "Compiler.h"
#include "LanguageNames.h"
#include "Scanner.h"
#include "Source.h"
#include "Variables.h"

namespace {

// A quick test that rules out most lines without scanning them: a label
// line starts with a word, then blanks, then ":" (blanks being every code
// up to 32, as for the scanner).
bool MayStartWithLabel(const std::string &text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; }; // as the scanner skips
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i == text.size() || !IsWordStart(text[i]))
        return false;
    while (i < text.size() && IsWordChar(text[i]))
        ++i;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i < text.size() && text[i] == ':';
}

// True when the line starts with an identifier and ":"; the scanner then
// holds the name in m_text and the position after the ":" in m_pos.
bool StartsWithLabel(ScanState &scan, CLine &line)
{
    if (!MayStartWithLabel(line.m_text))
        return false;
    scan.m_activeExpansions.clear();
    return line.GetSymbol(scan, 0) == symIdent && line.GetSymbol(scan, -1) == symColon;
}

// Cuts the label, its ":" and the blanks after it from the front of the line.
void CutLabel(CLine &line, int afterColon)
{
    size_t start = static_cast<size_t>(afterColon);
    while (start < line.m_text.size() && (line.m_text[start] == ' ' || line.m_text[start] == '\t'))
        ++start;
    line.m_text.erase(0, start);
}

} // namespace

// A label on a line of its own marks the next line: its line is dropped, so
// the next line takes its index (the end record's, after the last line). A
// label defined twice ends the pass; the lines after it are kept unexamined.
void LabelPass(CCompiler &compiler, CSource &source)
{
    CSource::Walker walk(source);
    while (!walk.AtEnd()) {
        CLine &line = walk.Current();
        if (!StartsWithLabel(compiler.m_scan, line)) {
            walk.Keep();
            continue;
        }
        const std::string name = compiler.m_scan.m_text;
        const int afterColon = compiler.m_scan.m_pos;
        if (!compiler.m_labels.emplace(UpperName(name), walk.KeptCount()).second) {
            compiler.ReportError(Format("Label '%s' already defined.", name), line.m_fileIndex, line.m_lineNumber);
            return;
        }
        if (compiler.m_symbols)
            compiler.m_symbols->Label(name, line.m_fileIndex, line.m_lineNumber);
        if (line.GetSymbol(compiler.m_scan, -1) == symEndOfLine) {
            walk.Drop();
        } else {
            CutLabel(line, afterColon);
            walk.Keep();
        }
    }
}
