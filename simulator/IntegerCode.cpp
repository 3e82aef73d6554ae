#include "IntegerCode.h"

namespace velsim {

namespace {

static_assert(static_cast<int>(Code::kGe) - static_cast<int>(Code::kAdd) ==
                  static_cast<int>(Op::kGe) - static_cast<int>(Op::kAdd),
              "the binary steps follow the order of the operators");
static_assert(static_cast<int>(Code::kGeConst) - static_cast<int>(Code::kAddConst) ==
                  static_cast<int>(Op::kGe) - static_cast<int>(Op::kAdd),
              "the binary steps with a constant follow the order of the operators");
static_assert(static_cast<int>(Code::kGeLong) - static_cast<int>(Code::kAddLong) ==
                  static_cast<int>(Op::kGe) - static_cast<int>(Op::kAdd),
              "the binary steps with a variable follow the order of the operators");

bool IsBinary(Op op)
{
    return op >= Op::kAdd && op <= Op::kGe;
}

Code Shifted(Code first, Op op)
{
    return static_cast<Code>(static_cast<int>(first) + static_cast<int>(op) - static_cast<int>(Op::kAdd));
}

// A constant right operand goes into the step, except a divisor the
// division must check at run time.
bool FoldsConstant(Op op, const Expr &right)
{
    if (right.op != Op::kConst || right.value.real)
        return false;
    return !((op == Op::kDiv || op == Op::kMod) && (right.value.i == 0 || right.value.i == -1));
}

// How a variable of each type is read and written, as a plain variable;
// the step for an element follows at kElementShift or kStoreElementShift.
struct TypeSteps {
    VarType type;
    Code load;
    Code store;
};
constexpr TypeSteps kTypeSteps[] = {
    {VarType::kChar, Code::kLoadChar, Code::kStore8},  {VarType::kByte, Code::kLoadByte, Code::kStore8},
    {VarType::kWord, Code::kLoadWord, Code::kStore16}, {VarType::kInteger, Code::kLoadInteger, Code::kStore16},
    {VarType::kLong, Code::kLoadLong, Code::kStore32},
};
constexpr int kElementShift = static_cast<int>(Code::kLoadCharAt) - static_cast<int>(Code::kLoadChar);
constexpr int kStoreElementShift = static_cast<int>(Code::kStore8At) - static_cast<int>(Code::kStore8);

const TypeSteps &StepsOfType(VarType type)
{
    for (const TypeSteps &entry : kTypeSteps) {
        if (entry.type == type)
            return entry;
    }
    return kTypeSteps[0]; // not reached: WholeNumber() lets only these types through
}

Code Element(Code plain, int shift)
{
    return static_cast<Code>(static_cast<int>(plain) + shift);
}

} // namespace

void CIntegerCode::Reset(size_t statements)
{
    m_code.clear();
    m_statements.assign(statements, kUntried);
    m_conditions.assign(statements, kUntried);
}

const CodeStep *CIntegerCode::TranslateAssignment(size_t stmt, const VarRef &target, const Expr &value,
                                                  const CDataMemory &vars)
{
    m_vars = &vars;
    Begin();
    return Finish(m_statements[stmt], Expression(value, 0) && Store(target));
}

const CodeStep *CIntegerCode::TranslateIncrement(size_t stmt, const VarRef &target, int32_t by, const CDataMemory &vars)
{
    m_vars = &vars;
    Begin();
    bool translated = Load(target.var, target.index, 0);
    if (translated) {
        Emit(Code::kAddConst, by);
        translated = Store(target);
    }
    return Finish(m_statements[stmt], translated);
}

const CodeStep *CIntegerCode::TranslateCondition(size_t stmt, const Expr &condition, const CDataMemory &vars)
{
    m_vars = &vars;
    Begin();
    const bool translated = Expression(condition, 0);
    Emit(Code::kResult);
    return Finish(m_conditions[stmt], translated);
}

bool CIntegerCode::Expression(const Expr &e, int nesting)
{
    if (nesting > kStackDepth)
        return false;
    switch (e.op) {
    case Op::kConst:
        if (e.value.real)
            return false;
        Emit(Code::kConst, e.value.i);
        Push();
        return true;
    case Op::kVar:
        return Load(e.var, nullptr, nesting);
    case Op::kElement:
        return Load(e.var, e.a, nesting);
    case Op::kNeg:
    case Op::kNot:
        if (!Expression(*e.a, nesting + 1))
            return false;
        Emit(e.op == Op::kNeg ? Code::kNeg : Code::kNot);
        return true;
    default:
        return IsBinary(e.op) && Binary(e, nesting);
    }
}

bool CIntegerCode::Binary(const Expr &e, int nesting)
{
    if (!Expression(*e.a, nesting + 1))
        return false;
    if (FoldsConstant(e.op, *e.b)) {
        Emit(Shifted(Code::kAddConst, e.op), e.b->value.i);
        return true;
    }
    if (const Variable *v = e.b->op == Op::kVar ? WholeNumber(e.b->var) : nullptr; v && v->type == VarType::kLong) {
        Emit(Shifted(Code::kAddLong, e.op), v->offset);
        return true;
    }
    if (!Expression(*e.b, nesting + 1))
        return false;
    Emit(Shifted(Code::kAdd, e.op));
    --m_height;
    return true;
}

bool CIntegerCode::Load(int var, const Expr *index, int nesting)
{
    const Variable *v = WholeNumber(var);
    if (!v)
        return false;
    const Code plain = StepsOfType(v->type).load;
    if (!index) {
        Emit(plain, v->offset);
        Push();
        return true;
    }
    if (!Expression(*index, nesting + 1))
        return false;
    Emit(Element(plain, kElementShift), v->offset, v->Elements());
    return true;
}

bool CIntegerCode::Store(const VarRef &target)
{
    const Variable *v = WholeNumber(target.var);
    if (!v)
        return false;
    const Code plain = StepsOfType(v->type).store;
    if (!target.index) {
        Emit(plain, v->offset);
        --m_height;
        return true;
    }
    if (!Expression(*target.index, 0))
        return false;
    Emit(Element(plain, kStoreElementShift), v->offset, v->Elements());
    m_height -= 2;
    return true;
}

const Variable *CIntegerCode::WholeNumber(int var) const
{
    const Variable *v = m_vars->Find(var);
    return v && v->type != VarType::kFloat ? v : nullptr;
}

void CIntegerCode::Emit(Code code, int32_t arg, int32_t length)
{
    m_code.push_back(CodeStep{code, arg, length});
}

void CIntegerCode::Push()
{
    if (++m_height > m_highest)
        m_highest = m_height;
}

void CIntegerCode::Begin()
{
    m_start = m_code.size();
    m_height = 0;
    m_highest = 0;
}

const CodeStep *CIntegerCode::Finish(int32_t &entry, bool translated)
{
    if (!translated || m_highest > kStackDepth) {
        m_code.resize(m_start);
        entry = kGeneral;
        return nullptr;
    }
    entry = static_cast<int32_t>(m_start);
    return m_code.data() + m_start;
}

} // namespace velsim
