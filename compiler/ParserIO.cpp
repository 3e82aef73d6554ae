// The data list, files and devices, PRINT and INPUT.
#include "Code.h"
#include "LanguageNames.h"
#include "Parser.h"
#include "StatementSyntax.h"

namespace {

// Modes of OPEN ... FOR, written as their number (0 is not written).
struct OpenMode {
    TSYMBOL keyword;
    int mode;
};
constexpr OpenMode kOpenModes[] = {{symINPUT, 0}, {symOUTPUT, 1}, {symAPPEND, 2}};

// FOR INPUT | OUTPUT | APPEND after the file name of OPEN; 0 without FOR.
int OpenModeOf(CParser &parser)
{
    if (parser.Symbol() != symFOR)
        return 0;
    parser.NextSymbol();
    for (const OpenMode &m : kOpenModes) {
        if (parser.Symbol() == m.keyword) {
            parser.NextSymbol();
            return m.mode;
        }
    }
    parser.Error("Open mode expected.");
    return 0;
}

// TAB(e), SPC(e), CHR(e), HEX(e)
void FunctionItem(CParser &parser)
{
    parser.m_code.EmitToken(KeywordToken(parser.Symbol()));
    parser.NextSymbol();
    parser.Expect(symLParen, '(');
    parser.Expression();
    parser.Expect(symRParen, ')');
}

// USING("format", e)
void UsingItem(CParser &parser)
{
    parser.m_code.EmitToken(KeywordToken(symUSING));
    parser.NextSymbol();
    parser.Expect(symLParen, '(');
    if (parser.Symbol() == symString) {
        parser.m_code.EmitString(parser.m_scan.m_text);
        parser.NextSymbol();
        parser.Expect(symComma, ',');
        parser.Expression();
    } else {
        parser.Error("Format string expected.");
    }
    parser.Expect(symRParen, ')');
}

} // namespace

// [#device] -- followed by a required "," when `comma` is set
void CParser::Device(bool comma)
{
    if (Symbol() != symHash)
        return;
    m_code.EmitByte('#');
    NextSymbol();
    Expression();
    if (comma)
        Expect(symComma, ',');
}

// "text" | string variable
void CParser::StringArgument()
{
    if (Symbol() != symString) {
        StringVariable();
        return;
    }
    m_code.EmitString(m_scan.m_text);
    NextSymbol();
}

// "text" | CR | NL | TAB(e) | SPC(e) | CHR(e) | HEX(e) | USING("format", e) | e
void CParser::PrintItem()
{
    switch (Symbol()) {
    case symString:
        m_code.EmitString(m_scan.m_text);
        NextSymbol();
        break;
    case symCR:
    case symNL:
        m_code.EmitToken(KeywordToken(Symbol()));
        NextSymbol();
        break;
    case symTAB:
    case symSPC:
    case symCHR:
    case symHEX:
        FunctionItem(*this);
        break;
    case symUSING:
        UsingItem(*this);
        break;
    default:
        Expression();
    }
}

// DATA const, ...
void CParser::DataStatement()
{
    CompileStatement(*this);
}
// READ var, ...
void CParser::ReadStatement()
{
    CompileStatement(*this);
}
// RESTORE label
void CParser::RestoreStatement()
{
    CompileStatement(*this);
}
// LOAD addr, var, ...
void CParser::LoadStatement()
{
    CompileStatement(*this);
}
// STORE addr, var, ...
void CParser::StoreStatement()
{
    CompileStatement(*this);
}
// WAIT cond [, timeout [, label]]
void CParser::WaitStatement()
{
    CompileStatement(*this);
}

// OPEN "file" [FOR INPUT | OUTPUT | APPEND] AS #device
// The image holds the device first, then the file name and a mode other than 0:
// OPEN "log.txt" FOR APPEND AS #1 is written as OPEN #1,"log.txt",2.
void CParser::OpenStatement()
{
    m_code.EmitToken(KeywordToken(symOPEN));
    NextSymbol();
    std::string fileName;
    if (Symbol() == symString) {
        fileName = m_scan.m_text;
    } else {
        Error("OPEN expected a filename.");
    }
    NextSymbol();
    const int mode = OpenModeOf(*this);
    if (Symbol() != symAs) {
        Error("AS expected.");
        return;
    }
    NextSymbol();
    if (Symbol() != symHash) {
        Error("# expected.");
        return;
    }
    m_code.EmitByte('#');
    NextSymbol();
    Expression();
    m_code.EmitByte(',');
    m_code.EmitString(fileName);
    if (mode == 0)
        return;
    m_code.EmitByte(',');
    m_code.EmitNumber(mode);
}

// CLOSE [#device]
void CParser::CloseStatement()
{
    CompileStatement(*this);
}
// FLUSH [#device]
void CParser::FlushStatement()
{
    CompileStatement(*this);
}

// PRINT [#device,] [item {, item}] [,]
void CParser::PrintStatement()
{
    m_code.EmitToken(KeywordToken(symPRINT));
    NextSymbol();
    Device(true);
    while (Symbol() != symColon && Symbol() != symEndOfLine) {
        PrintItem();
        if (Symbol() == symEndOfLine || Symbol() == symColon)
            return;
        if (Symbol() == symComma) {
            m_code.EmitByte(',');
        } else {
            Error(", expected.");
        }
        NextSymbol();
    }
}

// INPUT [#device,] ["prompt",] var, ...
void CParser::InputStatement()
{
    CompileStatement(*this);
}
// PUT [#device,] expr [, count]
void CParser::PutStatement()
{
    CompileStatement(*this);
}
// GET [#device,] var [, count [, timeout]]
void CParser::GetStatement()
{
    CompileStatement(*this);
}
// FIND [#device,] "string" [, timeout [, label]]
void CParser::FindStatement()
{
    CompileStatement(*this);
}
