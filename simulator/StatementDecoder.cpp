#include "StatementDecoder.h"

#include "TokenTable.h"
#include "lang/Builtins.h"

namespace velsim {

CStatementDecoder::CStatementDecoder(CProgram &program)
    : m_program(program)
{
}

void CStatementDecoder::DecodeLine(int lineIndex, std::string_view body)
{
    m_body = body;
    m_pos = 0;
    m_lineIndex = lineIndex;
    m_lineIfs.clear();
    StatementList();
    for (size_t index : m_lineIfs)
        m_program.m_stmts[index].jump = static_cast<int>(m_program.m_stmts.size());
}

int CStatementDecoder::Peek(size_t ahead) const
{
    const size_t pos = m_pos + ahead;
    return pos < m_body.size() ? static_cast<uint8_t>(m_body[pos]) : -1;
}

int CStatementDecoder::Take()
{
    const int c = Peek();
    if (c < 0)
        Fail();
    ++m_pos;
    return c;
}

bool CStatementDecoder::Accept(char c)
{
    if (Peek() != static_cast<uint8_t>(c))
        return false;
    ++m_pos;
    return true;
}

void CStatementDecoder::Expect(char c)
{
    if (!Accept(c))
        Fail();
}

bool CStatementDecoder::AtEnd() const
{
    return m_pos >= m_body.size();
}

bool CStatementDecoder::AtStatementEnd() const
{
    return AtEnd() || Peek() == ':';
}

TSYMBOL CStatementDecoder::PeekToken() const
{
    const int c = Peek();
    return c >= 0x80 ? SymbolOfToken(static_cast<uint8_t>(c)) : symEndOfLine;
}

bool CStatementDecoder::AcceptToken(TSYMBOL sym)
{
    if (PeekToken() != sym)
        return false;
    ++m_pos;
    return true;
}

void CStatementDecoder::Fail()
{
    throw DecodeFailure();
}

Value CStatementDecoder::Number()
{
    auto digit = [this](int base) {
        const int c = Peek();
        if (c >= '0' && c <= '9' && c - '0' < base)
            return c - '0';
        if (base == 16 && c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    uint32_t whole = 0;
    if (Accept('$')) {
        for (int d; (d = digit(16)) >= 0; ++m_pos)
            whole = whole * 16 + static_cast<uint32_t>(d);
        return Value::Int(static_cast<int32_t>(whole));
    }
    if (digit(10) < 0)
        Fail();
    double real = 0;
    for (int d; (d = digit(10)) >= 0; ++m_pos) {
        whole = whole * 10 + static_cast<uint32_t>(d);
        real = real * 10 + d;
    }
    if (!Accept('.'))
        return Value::Int(static_cast<int32_t>(whole));
    double scale = 1;
    for (int d; (d = digit(10)) >= 0; ++m_pos) {
        scale /= 10;
        real += d * scale;
    }
    return Value::Real(real);
}

int CStatementDecoder::Integer()
{
    const Value value = Number();
    if (value.real)
        Fail();
    return value.i;
}

std::string CStatementDecoder::String()
{
    Expect('"');
    const size_t close = m_body.find('"', m_pos);
    if (close == std::string_view::npos)
        Fail();
    std::string text(m_body.substr(m_pos, close - m_pos));
    m_pos = close + 1;
    return text;
}

int CStatementDecoder::VarName()
{
    auto letter = [this] {
        const int c = Peek();
        return c >= 'a' && c <= 'z' ? c : -1;
    };
    const int first = letter();
    if (first < 0)
        Fail();
    ++m_pos;
    int var = first - 'a';
    if (const int second = letter(); second >= 0) {
        ++m_pos;
        var = (first - 0x60) * 26 + (second - 'a');
    }
    if (var >= m_program.m_varCount)
        m_program.m_varCount = var + 1;
    return var;
}

VarRef CStatementDecoder::Variable()
{
    VarRef ref;
    ref.var = VarName();
    if (Accept('[')) {
        ref.index = Expression();
        Expect(']');
    }
    return ref;
}

VarRef CStatementDecoder::WholeArray()
{
    const VarRef ref = Variable();
    if (ref.index)
        Fail();
    return ref;
}

Stmt &CStatementDecoder::Add(StmtKind kind, int sym)
{
    Stmt &stmt = m_program.m_stmts.emplace_back();
    stmt.kind = kind;
    stmt.sym = sym;
    stmt.line = m_lineIndex;
    return stmt;
}

void CStatementDecoder::StatementList()
{
    if (AtEnd())
        return;
    for (;;) {
        Statement();
        if (AtEnd())
            return;
        Expect(':');
    }
}

void CStatementDecoder::Statement()
{
    const int c = Peek();
    if (c >= 'a' && c <= 'z')
        return Assignment();
    const TSYMBOL sym = PeekToken();
    if (const SysVar *sysVar = FindSysVar(sym); sysVar && sysVar->writable)
        return SysAssignment(sym);
    switch (sym) {
    case symCHAR:
    case symBYTE:
    case symWORD:
    case symINTEGER:
    case symLONG:
    case symFLOAT:
        return Declaration(sym);
    case symINC:
    case symDEC:
        Take();
        Add(StmtKind::kIncDec, sym).target = Variable();
        return;
    case symIF:
        return If();
    case symELSIF:
        Take();
        Add(StmtKind::kElsif, sym).e1 = Condition();
        return;
    case symFOR:
        return For();
    case symWHILE:
        Take();
        Add(StmtKind::kWhile, sym).e1 = Condition();
        return;
    case symON:
        return On();
    case symGOTO:
    case symGOSUB:
        Take();
        Labels(Add(sym == symGOTO ? StmtKind::kGoto : StmtKind::kGosub, sym));
        return;
    default:
        break;
    }
    static constexpr struct {
        TSYMBOL sym;
        StmtKind kind;
    } kSimple[] = {
        {symELSE, StmtKind::kElse}, {symENDIF, StmtKind::kEndif},   {symNEXT, StmtKind::kNext},
        {symWEND, StmtKind::kWend}, {symDO, StmtKind::kDo},         {symLOOP, StmtKind::kLoop},
        {symEXIT, StmtKind::kExit}, {symRETURN, StmtKind::kReturn}, {symEND, StmtKind::kEnd},
    };
    for (const auto &simple : kSimple) {
        if (simple.sym == sym) {
            Take();
            Add(simple.kind, sym);
            return;
        }
    }
    if (!DeviceStatement(sym))
        Fail();
}

void CStatementDecoder::SysAssignment(TSYMBOL sym)
{
    Take();
    const SysRef sys = SystemVariable(sym);
    Expect('=');
    Stmt &stmt = Add(StmtKind::kSysAssign, sym);
    stmt.sys = sys;
    stmt.e1 = Expression();
}

void CStatementDecoder::On()
{
    Take();
    const Expr *selector = Expression();
    const TSYMBOL how = PeekToken();
    if (how != symGOTO && how != symGOSUB)
        Fail();
    Take();
    Stmt &stmt = Add(StmtKind::kOn, how);
    stmt.e1 = selector;
    Labels(stmt);
}

void CStatementDecoder::Labels(Stmt &stmt)
{
    do {
        stmt.labels.push_back(Integer());
    } while (stmt.kind == StmtKind::kOn && Accept(','));
}

void CStatementDecoder::Declaration(TSYMBOL type)
{
    Take();
    Stmt &stmt = Add(StmtKind::kDeclare, type);
    do {
        VarDeclaration decl;
        decl.var = VarName();
        if (Accept('[')) {
            decl.length = Integer();
            Expect(']');
            if (decl.length < 1)
                Fail();
        }
        stmt.decls.push_back(decl);
    } while (Accept(','));
}

void CStatementDecoder::Assignment()
{
    const VarRef target = Variable();
    Expect('=');
    if (Peek() == '"' || Peek() == '[') {
        if (target.index)
            Fail();
        if (Peek() == '"') {
            Add(StmtKind::kAssignText).target = target;
            m_program.m_stmts.back().text = String();
            return;
        }
        Take();
        std::vector<const Expr *> list;
        do {
            list.push_back(Expression());
        } while (Accept(','));
        Expect(']');
        Stmt &stmt = Add(StmtKind::kAssignList);
        stmt.target = target;
        stmt.list = std::move(list);
        return;
    }
    const Expr *value = Expression();
    Stmt &stmt = Add(StmtKind::kAssign);
    stmt.target = target;
    stmt.e1 = value;
}

// IF cond THEN (end of line): a block. IF cond ":" statements: the rest of
// the line is conditional. IF cond GOTO/GOSUB/RETURN/EXIT: only that one.
void CStatementDecoder::If()
{
    Take();
    const Expr *condition = Condition();
    if (AcceptToken(symTHEN)) {
        Add(StmtKind::kIfBlock, symIF).e1 = condition;
        return;
    }
    const TSYMBOL next = PeekToken();
    if (Accept(':')) {
        m_lineIfs.push_back(m_program.m_stmts.size());
        Add(StmtKind::kIfLine, symIF).e1 = condition;
    } else if (next == symGOTO || next == symGOSUB || next == symRETURN || next == symEXIT) {
        Stmt &stmt = Add(StmtKind::kIfJump, symIF);
        stmt.e1 = condition;
        stmt.jump = static_cast<int>(m_program.m_stmts.size()) + 1;
    } else {
        Fail();
    }
    Statement();
}

void CStatementDecoder::For()
{
    Take();
    const VarRef counter = Variable();
    Expect('=');
    const Expr *start = Expression();
    if (!AcceptToken(symTO))
        Fail();
    const Expr *limit = Expression();
    const Expr *step = AcceptToken(symSTEP) ? Expression() : nullptr;
    Stmt &stmt = Add(StmtKind::kFor, symFOR);
    stmt.target = counter;
    stmt.e1 = start;
    stmt.e2 = limit;
    stmt.e3 = step;
    stmt.slot = m_program.m_loopSlots++;
}

} // namespace velsim
