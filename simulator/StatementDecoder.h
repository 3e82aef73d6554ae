// Decodes the body of one line record into statements and expression trees.
// The body is the compiler's text form: token bytes, short variable names,
// numbers as text, quoted strings and punctuation. Anything that does not
// follow that form makes the line undecodable (DecodeFailure).
#pragma once

#include "Program.h"
#include "TokenTable.h"

#include <string_view>

namespace velsim {

struct DecodeFailure { };

class CStatementDecoder {
public:
    explicit CStatementDecoder(CProgram &program);

    // Appends the statements of one line to the program; throws
    // DecodeFailure when the body cannot be decoded.
    void DecodeLine(int lineIndex, std::string_view body);

private:
    // Reading the body.
    int Peek(size_t ahead = 0) const; // -1 beyond the end
    int Take();
    bool Accept(char c);
    void Expect(char c);
    bool AtEnd() const;
    bool AtStatementEnd() const; // end of the body or ":"
    TSYMBOL PeekToken() const; // the keyword of the token at the current byte
    bool AcceptToken(TSYMBOL sym);
    [[noreturn]] static void Fail();

    // Constants and names.
    Value Number();
    int Integer();
    std::string String();
    int VarName();
    VarRef Variable();
    VarRef WholeArray();

    // Expressions (DecoderExpressions.cpp).
    const Expr *Condition();
    const Expr *Expression();
    const Expr *Term();
    const Expr *Factor();
    const Expr *Constant(const Value &value);
    const Expr *Unary(Op op, const Expr *operand);
    const Expr *Binary(Op op, const Expr *a, const Expr *b);
    const Expr *Function(TSYMBOL sym);
    bool Relation(Op &op);
    bool AddOperator(Op &op);
    bool MulOperator(Op &op);
    SysRef SystemVariable(TSYMBOL sym); // after its token: the family digit and the suffix

    // Statements (StatementDecoder.cpp).
    void StatementList();
    void Statement();
    Stmt &Add(StmtKind kind, int sym = 0);
    void Declaration(TSYMBOL type);
    void Assignment();
    void SysAssignment(TSYMBOL sym);
    void If();
    void On();
    void For();
    void Labels(Stmt &stmt);

    // Device statements (DecoderDevices.cpp).
    bool DeviceStatement(TSYMBOL sym);
    void Arguments(Stmt &stmt, const char *syntax);
    void Argument(Stmt &stmt, char kind);
    void PrintItems(Stmt &stmt);
    PrintItem Item();

    CProgram &m_program;
    std::string_view m_body;
    size_t m_pos = 0;
    int m_lineIndex = 0;
    std::vector<size_t> m_lineIfs; // one-line IFs of the current line
};

// The links between block statements (IF/ELSIF/ELSE/ENDIF, FOR/NEXT,
// WHILE/WEND, DO/LOOP, EXIT), made once in program order as the compiler
// checked them. False with the line number of the first statement that
// does not nest.
bool LinkBlocks(CProgram &program, int &badLine);

} // namespace velsim
