// Block statements, jumps and END, and the check for blocks left open. The
// blocks are written as their keywords; the block stack makes sure they nest
// properly and that loops stay within the target's nesting limits.
#include "Parser.h"

#include "Code.h"
#include "Compiler.h"
#include "LanguageNames.h"
#include "Nesting.h"
#include "Source.h"

namespace {

// The closing keyword of each block and the message for a block left open.
struct BlockKind {
    int token;
    const char *closer;
    const char *unclosed;
};

constexpr BlockKind kBlockKinds[] = {
    {btIf, "ENDIF", "No matching ENDIF found."},
    {btFor, "NEXT", "No matching NEXT found."},
    {btWhile, "WEND", "No matching WEND found."},
    {btDo, "LOOP", "No matching LOOP found."},
};

const BlockKind &KindOf(int token)
{
    for (const BlockKind &kind : kBlockKinds) {
        if (kind.token == token)
            return kind;
    }
    return kBlockKinds[0];
}

// A closing keyword always pops the top block. A block of another kind is
// reported and dropped; the right kind closed behind the THEN of a one-line
// IF is reported because the condition could skip it.
void CloseBlock(CParser &p, int expected, const char *keyword, const char *unmatched, bool conditional)
{
    CStmt top;
    if (!p.m_blocks.PopBlock(top)) {
        p.Error(unmatched);
    } else if (top.token != expected) {
        p.Error(std::string(KindOf(top.token).closer) + " expected, but " + keyword + " found.");
    } else if (conditional) {
        p.Error(std::string(keyword) + " could be skipped by condition.");
    }
}

// Opens a loop block; every open block of the same kind counts against the limit.
void OpenLoop(CParser &p, int token, int limit, const char *what)
{
    p.m_blocks.PushBlock(token, p.m_line.m_fileIndex, p.m_line.m_lineNumber);
    p.m_code.EmitToken(token, -1);
    if (p.m_blocks.CountBlocks(token) > limit) {
        p.Error(Format((std::string("Too many nested ") + what + " loops (max. %d).").c_str(), limit));
    }
    p.NextSymbol();
}

// Writes the keyword at hand as its token and moves past it.
void Keyword(CParser &p)
{
    p.m_code.EmitToken(KeywordToken(p.Symbol()), -1);
    p.NextSymbol();
}

// What follows THEN: nothing makes a block IF, statements a one-line IF.
void Then(CParser &p)
{
    p.NextSymbol();
    if (p.Symbol() == symEndOfLine) {
        p.m_blocks.PushBlock(btIf, p.m_line.m_fileIndex, p.m_line.m_lineNumber);
        p.m_code.EmitToken(KeywordToken(symTHEN), -1);
        return;
    }
    p.m_code.EmitByte(':');
    NestingGuard level(p);
    if (!level.Overflow())
        p.StatementList(true);
}

} // namespace

// IF condition THEN                      block IF, closed by ENDIF
// IF condition THEN statement {":" statement}
// IF condition (EXIT | GOTO label | GOSUB label | RETURN)
void CParser::IfStatement()
{
    Keyword(*this);
    Condition();
    if (m_nestingOverflow)
        return;
    switch (Symbol()) {
    case symTHEN:
        Then(*this);
        break;
    case symEXIT:
        ExitStatement();
        break;
    case symGOTO:
        GotoStatement(KeywordToken(symGOTO));
        break;
    case symGOSUB:
        GotoStatement(KeywordToken(symGOSUB));
        break;
    case symRETURN:
        ReturnStatement();
        break;
    default:
        Error("THEN expected.");
        break;
    }
}

// ELSIF condition THEN
void CParser::ElsifStatement()
{
    const CStmt *top = m_blocks.TopBlock();
    if (!top || top->token != btIf) {
        Error("ELSIF without matching IF.");
    } else if (top->elseSeen) {
        Error("ENDIF expected, but ELSIF found.");
    }
    Keyword(*this);
    Condition();
    if (m_nestingOverflow)
        return;
    if (Symbol() == symTHEN) {
        NextSymbol();
    } else {
        Error("THEN expected.");
    }
}

// ELSE
void CParser::ElseStatement()
{
    CStmt *top = m_blocks.TopBlock();
    if (top && top->token == btIf) {
        if (top->elseSeen)
            Error("ENDIF expected, but ELSE found.");
        top->elseSeen = true;
    } else {
        Error("ELSE without matching IF.");
    }
    Keyword(*this);
}

// ENDIF
void CParser::EndifStatement()
{
    CloseBlock(*this, btIf, "ENDIF", "ENDIF without matching IF.", false);
    Keyword(*this);
}

// FOR variable "=" expression TO expression [STEP expression]
void CParser::ForStatement()
{
    OpenLoop(*this, btFor, m_target.maxForNesting, "FOR");
    CVarInfo info;
    VariableRef(info, true);
    Expect(symEqual, '=');
    Expression();
    ExpectKeyword(symTO, KeywordToken(symTO));
    Expression();
    if (Symbol() != symSTEP)
        return;
    Keyword(*this);
    Expression();
}

// NEXT
void CParser::NextStatement(bool conditional)
{
    CloseBlock(*this, btFor, "NEXT", "NEXT without matching FOR.", conditional);
    Keyword(*this);
}

// WHILE condition
void CParser::WhileStatement()
{
    OpenLoop(*this, btWhile, m_target.maxWhileNesting, "WHILE");
    Condition();
}

// WEND
void CParser::WendStatement(bool conditional)
{
    CloseBlock(*this, btWhile, "WEND", "WEND without matching WHILE.", conditional);
    Keyword(*this);
}

// DO
void CParser::DoStatement()
{
    OpenLoop(*this, btDo, m_target.maxDoNesting, "DO");
}

// LOOP
void CParser::LoopStatement(bool conditional)
{
    CloseBlock(*this, btDo, "LOOP", "LOOP without matching DO.", conditional);
    Keyword(*this);
}

// EXIT
void CParser::ExitStatement()
{
    if (!m_blocks.InLoop())
        Error("EXIT not inside a DO, FOR or WHILE loop.");
    Keyword(*this);
}

// RETURN
void CParser::ReturnStatement()
{
    if (m_blocks.InLoop())
        Error("RETURN inside a DO, FOR or WHILE loop is not allowed (use EXIT instead).");
    Keyword(*this);
}

// GOTO label | GOSUB label
void CParser::GotoStatement(int token)
{
    m_code.EmitToken(token, -1);
    NextSymbol();
    LabelRef();
}

// ON expression (GOTO | GOSUB) label {"," label}
void CParser::OnStatement()
{
    Keyword(*this);
    Expression();
    if (Symbol() != symGOTO && Symbol() != symGOSUB) {
        Error("GOTO or GOSUB expected.");
        return;
    }
    Keyword(*this);
    LabelList();
}

// END
void CParser::EndStatement()
{
    Keyword(*this);
}

// Blocks still open after the last line, innermost first, each reported at
// the file and line that opened it (which may be an included file that the
// program has long left).
void CParser::CloseBlocks()
{
    CStmt block;
    while (m_blocks.PopBlock(block)) {
        m_compiler.ReportError(KindOf(block.token).unclosed, block.fileIndex, block.line);
    }
}
