// Expressions in the image: a condition holds at most one relation; then
// the additive and the multiplicative level; unary "-" and "~", constants,
// variables, "(" condition ")", system variables and functions.
#include "StatementDecoder.h"

#include "TokenTable.h"
#include "lang/Builtins.h"

namespace velsim {

namespace {

constexpr int kMaxUsrArguments = 4;

// How many expressions a function takes in parentheses; 0 for the ones with
// a string variable (LEN, VAL, POS) and USR with up to four.
int ExpressionCount(ArgShape shape)
{
    return shape == ArgShape::One ? 1 : shape == ArgShape::Two ? 2 : 0;
}

} // namespace

const Expr *CStatementDecoder::Constant(const Value &value)
{
    Expr *expr = m_program.NewExpr();
    expr->op = Op::kConst;
    expr->value = value;
    expr->integral = !value.real;
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
    expr->integral = operand->integral;
    return expr;
}

const Expr *CStatementDecoder::Binary(Op op, const Expr *a, const Expr *b)
{
    Expr *expr = m_program.NewExpr();
    expr->op = op;
    expr->a = a;
    expr->b = b;
    expr->integral = a->integral && b->integral;
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
        expr->integral = !ref.index || ref.index->integral;
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
    if (FindFunction(sym))
        return Function(sym);
    if (!FindSysVar(sym))
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
    const SysVar *sysVar = FindSysVar(sym);
    const SuffixSet *suffixes = sysVar ? FindSuffixSet(sysVar->suffix) : nullptr;
    if (suffixes && Accept('.')) {
        const TSYMBOL word = PeekToken();
        for (TSYMBOL allowed : suffixes->members) {
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
    const int expressions = ExpressionCount(FindFunction(sym)->shape);
    Expr *expr = m_program.NewExpr();
    expr->op = Op::kFunction;
    expr->sym = sym;
    Expect('(');
    if (expressions > 0) {
        expr->a = Expression();
        if (expressions > 1) {
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
