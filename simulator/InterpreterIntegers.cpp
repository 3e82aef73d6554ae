// The interpreter's fast path for whole numbers. Most statements of a module
// program compute with BYTE, WORD, INTEGER and LONG variables only: such an
// expression (marked `integral` when the program is decoded) is computed in
// 32-bit integers straight from the data memory, without the tagged values
// of the general evaluation. When a variable it reads holds a FLOAT, the fast
// path gives up and the expression is evaluated again in full. The fast path
// only reads variables and computes, so doing part of it twice changes
// nothing, and a run-time error it raises is the one the full evaluation
// meets first: both go through the expression in the same order.
// Assignments, INC, DEC and conditions of whole numbers are translated into
// steps (IntegerCode.h) on their first run; this evaluation serves the other
// expressions (PRINT, arguments) and the statements that cannot be translated.
#include "Interpreter.h"

#include "TokenTable.h"

namespace velsim {

void CInterpreter::ThrowDivisionByZero()
{
    throw Fault{RunError::kDivisionByZero};
}

// The same results as the general evaluation's integer arithmetic: wrapping
// +, -, *, division and MOD truncated toward zero, relations as -1 or 0.
int32_t CInterpreter::IntegerOp(Op op, int32_t x, int32_t y)
{
    switch (op) {
    case Op::kAdd:
        return WrapAdd(x, y);
    case Op::kSub:
        return WrapSub(x, y);
    case Op::kMul:
        return WrapMul(x, y);
    case Op::kDiv:
        if (y == 0)
            ThrowDivisionByZero();
        return y == -1 ? WrapNeg(x) : x / y;
    case Op::kMod:
        if (y == 0)
            ThrowDivisionByZero();
        return y == -1 ? 0 : x % y;
    case Op::kOr:
        return x | y;
    case Op::kXor:
        return x ^ y;
    case Op::kAnd:
        return x & y;
    case Op::kShl:
        return ShiftLeft(x, y);
    case Op::kShr:
        return ShiftRight(x, y);
    case Op::kEq:
        return x == y ? -1 : 0;
    case Op::kNe:
        return x != y ? -1 : 0;
    case Op::kLt:
        return x < y ? -1 : 0;
    case Op::kGt:
        return x > y ? -1 : 0;
    case Op::kLe:
        return x <= y ? -1 : 0;
    case Op::kGe:
        return x >= y ? -1 : 0;
    default:
        return 0;
    }
}

// Constants and plain variables, most of the operands, are read here
// without a call.
inline bool CInterpreter::IntegerOperand(const Expr &e, int32_t &out)
{
    if (e.op == Op::kConst) {
        out = e.value.i;
        return true;
    }
    if (e.op == Op::kVar)
        return m_vars.LoadInteger(Var(e.var), 0, out);
    return EvalInteger(e, out);
}

bool CInterpreter::EvalInteger(const Expr &e, int32_t &out)
{
    switch (e.op) {
    case Op::kConst:
        out = e.value.i;
        return true;
    case Op::kVar:
        return m_vars.LoadInteger(Var(e.var), 0, out);
    case Op::kElement: {
        const Variable &v = Var(e.var);
        return m_vars.LoadInteger(v, Element(v, e.a), out);
    }
    case Op::kNeg:
        if (!EvalInteger(*e.a, out))
            return false;
        out = WrapNeg(out);
        return true;
    case Op::kNot:
        if (!EvalInteger(*e.a, out))
            return false;
        out = ~out;
        return true;
    default: {
        int32_t x, y;
        if (!IntegerOperand(*e.a, x) || !IntegerOperand(*e.b, y))
            return false;
        out = IntegerOp(e.op, x, y);
        return true;
    }
    }
}

void CInterpreter::Assign(const Stmt &s)
{
    // Translated steps run straight from Run(); this is the first run, or
    // the general way.
    const CodeStep *steps =
        m_code.StatementTried(m_pc) ? nullptr : m_code.TranslateAssignment(m_pc, s.target, *s.e1, m_vars);
    if (steps) {
        RunSteps(steps);
        return;
    }
    int32_t whole;
    if (!s.e1->integral || !IntegerOperand(*s.e1, whole)) {
        Store(s.target, EvalGeneric(*s.e1));
        return;
    }
    const Variable &v = Var(s.target.var);
    m_vars.StoreInteger(v, Element(v, s.target.index), whole);
}

void CInterpreter::IncDec(const Stmt &s)
{
    const int32_t by = s.sym == symINC ? 1 : -1;
    const CodeStep *steps =
        m_code.StatementTried(m_pc) ? nullptr : m_code.TranslateIncrement(m_pc, s.target, by, m_vars);
    if (steps)
        RunSteps(steps);
    else
        Store(s.target, Step(Load(s.target), by));
}

bool CInterpreter::Holds(size_t stmt, const Expr &condition)
{
    const CodeStep *steps = m_code.Condition(stmt);
    if (!steps && !m_code.ConditionTried(stmt))
        steps = m_code.TranslateCondition(stmt, condition, m_vars);
    return steps ? RunSteps(steps) != 0 : Eval(condition).IsTrue();
}

} // namespace velsim
