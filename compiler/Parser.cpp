// The per-line loop of the statement compiler and the tools every statement
// routine uses.
#include "Parser.h"

#include "Code.h"
#include "Compiler.h"
#include "LanguageNames.h"
#include "Statements.h"

#include <climits>

CParser::CParser(CCompiler &compiler)
    : m_scan(compiler.m_scan)
    , m_labels(compiler.m_labels)
    , m_compiler(compiler)
    , m_target(compiler.m_target)
    , m_code(compiler.m_code)
{
}

// Every line yields exactly one record, also when it holds errors.
void CParser::CompileLine(int index, const CLine &line)
{
    m_line.m_text = line.m_text;
    m_line.m_fileIndex = line.m_fileIndex;
    m_line.m_lineNumber = line.m_lineNumber;
    m_line.m_directive = false;
    m_scan.m_activeExpansions.clear();
    m_scan.m_pos = 0;
    m_nestingOverflow = false;
    m_code.BeginLine(index);
    NextSymbol();
    StatementList(false);
    // The record's length byte counts itself, the body and the closing 0x0A;
    // a longer line would give the module a corrupt image.
    if (m_code.EndLine() > 255)
        Error("Line too long (max. 253 bytes of code).");
}

// statements = statement { ":" statement }
void CParser::StatementList(bool conditional)
{
    for (;;) {
        Statement(conditional);
        if (Symbol() == symEndOfLine)
            return;
        if (Symbol() != symColon) {
            Error("Syntax error.");
            return;
        }
        m_code.EmitByte(':');
        NextSymbol();
    }
}

// The image is compared with the program memory after every statement; the
// message is printed once per run, then the limit is lifted. It is printed
// also on a line given up for its nesting, whose other messages are dropped.
void CParser::Statement(bool conditional)
{
    const StatementRoutine routine = StatementFor(Symbol());
    if (routine) {
        routine(*this, conditional);
    } else {
        Error("Variable or statement expected.");
    }
    if (m_code.Size() > m_target.programMemory) {
        m_compiler.ReportError(Format("Not enough program memory (max. %d Bytes).", m_target.programMemory),
                               m_line.m_fileIndex, m_line.m_lineNumber);
        m_target.programMemory = INT_MAX;
    }
}

void CParser::NextSymbol()
{
    if (m_line.GetSymbol(m_scan, -1) == symString && m_scan.m_text.size() > 40) {
        Error("String constant too long (max. 40 chars).");
    }
}

void CParser::Expect(TSYMBOL symbol, char character)
{
    if (Symbol() != symbol) {
        Error(std::string(1, character) + " expected.");
        return;
    }
    NextSymbol();
    m_code.EmitByte(character);
}

void CParser::ExpectKeyword(TSYMBOL symbol, int tokenCode)
{
    if (Symbol() != symbol) {
        Error(std::string(TokenText(tokenCode)) + " expected.");
        return;
    }
    NextSymbol();
    m_code.EmitToken(tokenCode, -1);
}

// A line given up for its nesting has had its one message; what the
// statement routines meet at its end is not reported.
void CParser::Error(const std::string &text, int line)
{
    if (m_nestingOverflow)
        return;
    m_compiler.ReportError(text, m_line.m_fileIndex, line < 0 ? m_line.m_lineNumber : line);
}

void CParser::Finish(int lineCount)
{
    CloseBlocks();
    m_code.EmitEnd(lineCount);
    const long long dataSize = m_vars.DataSize();
    m_compiler.m_dataSize = dataSize > INT_MAX ? INT_MAX : static_cast<int>(dataSize);
    m_compiler.m_codeSize = m_code.Size();
    m_compiler.m_dataLimit = m_target.dataMemory;
    m_compiler.m_codeLimit = m_target.programMemory;
}
