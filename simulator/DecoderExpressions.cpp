// Expressions in the image: a condition holds at most one relation; then
// the additive and the multiplicative level; unary "-" and "~", constants,
// variables, "(" condition ")", system variables and functions.
#include "StatementDecoder.h"

#include "TokenTable.h"

namespace velsim {

namespace {

// The words allowed after "." behind a system variable.
struct Suffixes {
    TSYMBOL sym;
    TSYMBOL allowed[3];
};

constexpr Suffixes kSuffixes[] = {
    {symSTEPPER0, {symSPEED, symSTEPS, symSTEPS}},
    {symTIME, {symHOUR, symMINUTE, symSECOND}},
    {symDATE, {symYEAR, symMONTH, symDAY}},
};

constexpr TSYMBOL kPlainSystemVariables[] = {
    symPI, symRXD, symMSG, symERR, symIRCODE, symKEYCODE, symTIME, symDATE, symDAY, symCR, symNL,
};

// Functions and how many expressions they take in parentheses; 0 marks the
// ones with a string variable (LEN, VAL, POS) and USR with up to four.
struct FunctionSyntax {
    TSYMBOL sym;
    int arguments;
};

constexpr FunctionSyntax kFunctions[] = {
    {symDEG, 1}, {symRAD, 1}, {symSIN, 1}, {symCOS, 1},   {symTAN, 1}, {symATN, 1},  {symSQR, 1},   {symEXP, 1},
    {symLOG, 1}, {symLO, 1},  {symHI, 1},  {symABS, 1},   {symINT, 1}, {symPEEK, 1}, {symROUND, 1}, {symEOF, 1},
    {symPOW, 2}, {symMIN, 2}, {symMAX, 2}, {symPOINT, 2}, {symLEN, 0}, {symVAL, 0},  {symPOS, 0},   {symUSR, 0},
};

constexpr int kMaxUsrArguments = 4;

const FunctionSyntax *FunctionOf(TSYMBOL sym)
{
    for (const FunctionSyntax &function : kFunctions) {
        if (function.sym == sym)
            return &function;
    }
    return nullptr;
}

bool IsPlainSystemVariable(TSYMBOL sym)
{
    for (TSYMBOL plain : kPlainSystemVariables) {
        if (plain == sym)
            return true;
    }
    return false;
}

} // namespace

const Expr *CStatementDecoder::Constant(const Value &value)
{
    Expr *expr = m_program.NewExpr();
    expr->op = Op::kConst;
    expr->value = value;
    return expr;
}

const Expr *CStatementDecoder::Unary(Op op, const Expr *operand)
{
    if (operand->op == Op::kConst && op == Op::kNeg) {
        const Value &v = operand->value;
        return Constant(v.real ? Value::Real(-v.f) : Value::Int(WrapNeg(v.i)));
    }
    Expr *expr = m_program.NewExpr();
    expr->op = op;
    expr->a = operand;
    return expr;
}

const Expr *CStatementDecoder::Binary(Op op, const Expr *a, const Expr *b)
{
    Expr *expr = m_program.NewExpr();
    expr->op = op;
    expr->a = a;
    expr->b = b;
    return expr;
}

bool CStatementDecoder::Relation(Op &op)
{
    const int c = Peek();
    const int next = Peek(1);
    size_t length = 1;
    if (c == '=') {
        op = Op::kEq;
    } else if (c == '<' && next == '>') {
        op = Op::kNe;
        length = 2;
    } else if (c == '<' && next == '=') {
        op = Op::kLe;
        length = 2;
    } else if (c == '>' && next == '=') {
        op = Op::kGe;
        length = 2;
    } else if (c == '<' && next != '<') {
        op = Op::kLt;
    } else if (c == '>' && next != '>') {
        op = Op::kGt;
    } else {
        return false;
    }
    m_pos += length;
    return true;
}

bool CStatementDecoder::AddOperator(Op &op)
{
    switch (Peek()) {
    case '+':
        op = Op::kAdd;
        break;
    case '-':
        op = Op::kSub;
        break;
    case '|':
        op = Op::kOr;
        break;
    case '^':
        op = Op::kXor;
        break;
    default:
        return false;
    }
    ++m_pos;
    return true;
}

bool CStatementDecoder::MulOperator(Op &op)
{
    const int c = Peek();
    if ((c == '<' || c == '>') && Peek(1) == c) {
        op = c == '<' ? Op::kShl : Op::kShr;
        m_pos += 2;
        return true;
    }
    switch (c) {
    case '*':
        op = Op::kMul;
        break;
    case '/':
        op = Op::kDiv;
        break;
    case '%':
        op = Op::kMod;
        break;
    case '&':
        op = Op::kAnd;
        break;
    default:
        return false;
    }
    ++m_pos;
    return true;
}

const Expr *CStatementDecoder::Condition()
{
    const Expr *left = Expression();
    Op op;
    if (!Relation(op))
        return left;
    return Binary(op, left, Expression());
}

const Expr *CStatementDecoder::Expression()
{
    const Expr *left = Term();
    for (Op op; AddOperator(op);)
        left = Binary(op, left, Term());
    return left;
}

const Expr *CStatementDecoder::Term()
{
    const Expr *left = Factor();
    for (Op op; MulOperator(op);)
        left = Binary(op, left, Factor());
    return left;
}

const Expr *CStatementDecoder::Factor()
{
    const int c = Peek();
    if ((c >= '0' && c <= '9') || c == '$')
        return Constant(Number());
    if (c >= 'a' && c <= 'z') {
        const VarRef ref = Variable();
        Expr *expr = m_program.NewExpr();
        expr->op = ref.index ? Op::kElement : Op::kVar;
        expr->var = ref.var;
        expr->a = ref.index;
        return expr;
    }
    if (Accept('-'))
        return Unary(Op::kNeg, Factor());
    if (Accept('~'))
        return Unary(Op::kNot, Factor());
    if (Accept('(')) {
        const Expr *inner = Condition();
        Expect(')');
        return inner;
    }
    const TSYMBOL sym = PeekToken();
    if (sym == symEndOfLine)
        Fail();
    Take();
    if (FunctionOf(sym))
        return Function(sym);
    if (!IsVariableFamily(sym) && !IsPlainSystemVariable(sym))
        Fail();
    const SysRef ref = SystemVariable(sym);
    Expr *expr = m_program.NewExpr();
    expr->op = Op::kSysVar;
    expr->sym = ref.sym;
    expr->suffix = ref.suffix;
    return expr;
}

SysRef CStatementDecoder::SystemVariable(TSYMBOL sym)
{
    SysRef ref;
    ref.sym = sym;
    if (IsVariableFamily(sym)) {
        // Numbered system variables: the token is followed by the member's digit.
        ref.sym = FamilyMember(sym, Take() - '0');
        if (ref.sym == symEndOfLine)
            Fail();
    }
    if (sym == symPORT0 && Accept('.')) {
        const int bit = Take() - '0';
        if (bit < 0 || bit > 7)
            Fail();
        ref.suffix = bit;
        return ref;
    }
    for (const Suffixes &suffixes : kSuffixes) {
        if (suffixes.sym != sym || !Accept('.'))
            continue;
        const TSYMBOL word = PeekToken();
        for (TSYMBOL allowed : suffixes.allowed) {
            if (word == allowed)
                ref.suffix = word;
        }
        if (ref.suffix < 0)
            Fail();
        Take();
    }
    return ref;
}

const Expr *CStatementDecoder::Function(TSYMBOL sym)
{
    const FunctionSyntax *syntax = FunctionOf(sym);
    Expr *expr = m_program.NewExpr();
    expr->op = Op::kFunction;
    expr->sym = sym;
    Expect('(');
    if (syntax->arguments > 0) {
        expr->a = Expression();
        if (syntax->arguments > 1) {
            Expect(',');
            expr->b = Expression();
        }
    } else if (sym == symUSR) {
        do {
            expr->args.push_back(Expression());
        } while (expr->args.size() < kMaxUsrArguments && Accept(','));
    } else {
        expr->var = WholeArray().var;
        if (sym == symPOS) {
            Expect(',');
            expr->text = String();
        }
        if (sym != symLEN && Accept(','))
            expr->a = Expression();
    }
    Expect(')');
    return expr;
}

} // namespace velsim
