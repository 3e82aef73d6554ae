// Evaluation of expression trees and access to variables.
#include "Interpreter.h"

#include "TokenTable.h"

#include <climits>
#include <cmath>
#include <numbers>

namespace velsim {

namespace {

Value IntegerArithmetic(Op op, int32_t x, int32_t y, bool &divisionByZero)
{
    switch (op) {
    case Op::kAdd:
        return Value::Int(WrapAdd(x, y));
    case Op::kSub:
        return Value::Int(WrapSub(x, y));
    case Op::kMul:
        return Value::Int(WrapMul(x, y));
    case Op::kDiv:
        if (y == 0)
            break;
        return Value::Int(y == -1 ? WrapNeg(x) : x / y);
    case Op::kMod:
        if (y == 0)
            break;
        return Value::Int(y == -1 ? 0 : x % y);
    case Op::kEq:
        return Value::Bool(x == y);
    case Op::kNe:
        return Value::Bool(x != y);
    case Op::kLt:
        return Value::Bool(x < y);
    case Op::kGt:
        return Value::Bool(x > y);
    case Op::kLe:
        return Value::Bool(x <= y);
    case Op::kGe:
        return Value::Bool(x >= y);
    default:
        return Value();
    }
    divisionByZero = true;
    return Value();
}

Value RealArithmetic(Op op, double x, double y, bool &divisionByZero)
{
    switch (op) {
    case Op::kAdd:
        return Value::Real(x + y);
    case Op::kSub:
        return Value::Real(x - y);
    case Op::kMul:
        return Value::Real(x * y);
    case Op::kDiv:
        if (y == 0)
            break;
        return Value::Real(x / y);
    case Op::kMod:
        if (y == 0)
            break;
        return Value::Real(std::fmod(x, y));
    case Op::kEq:
        return Value::Bool(x == y);
    case Op::kNe:
        return Value::Bool(x != y);
    case Op::kLt:
        return Value::Bool(x < y);
    case Op::kGt:
        return Value::Bool(x > y);
    case Op::kLe:
        return Value::Bool(x <= y);
    case Op::kGe:
        return Value::Bool(x >= y);
    default:
        return Value();
    }
    divisionByZero = true;
    return Value();
}

double RealFunction(int sym, double x)
{
    switch (sym) {
    case symDEG:
        return x * 180 / std::numbers::pi;
    case symRAD:
        return x * std::numbers::pi / 180;
    case symSIN:
        return std::sin(x);
    case symCOS:
        return std::cos(x);
    case symTAN:
        return std::tan(x);
    case symATN:
        return std::atan(x);
    case symSQR:
        return std::sqrt(x);
    case symEXP:
        return std::exp(x);
    default: // LOG
        return std::log(x);
    }
}

} // namespace

Value CInterpreter::Arithmetic(Op op, const Value &a, const Value &b) const
{
    switch (op) {
    case Op::kOr:
        return Value::Int(a.AsInt() | b.AsInt());
    case Op::kXor:
        return Value::Int(a.AsInt() ^ b.AsInt());
    case Op::kAnd:
        return Value::Int(a.AsInt() & b.AsInt());
    case Op::kShl:
        return Value::Int(ShiftLeft(a.AsInt(), b.AsInt()));
    case Op::kShr:
        return Value::Int(ShiftRight(a.AsInt(), b.AsInt()));
    default:
        break;
    }
    bool divisionByZero = false;
    const Value result = a.real || b.real ? RealArithmetic(op, a.AsReal(), b.AsReal(), divisionByZero)
                                          : IntegerArithmetic(op, a.i, b.i, divisionByZero);
    if (divisionByZero)
        throw Fault{RunError::kDivisionByZero};
    return result;
}

Value CInterpreter::Eval(const Expr &e)
{
    int32_t whole;
    if (e.integral && EvalInteger(e, whole))
        return Value::Int(whole);
    return EvalGeneric(e);
}

Value CInterpreter::EvalGeneric(const Expr &e)
{
    switch (e.op) {
    case Op::kConst:
        return e.value;
    case Op::kVar: {
        const Variable &v = Var(e.var);
        return m_vars.Load(v, 0);
    }
    case Op::kElement: {
        const Variable &v = Var(e.var);
        return m_vars.Load(v, Element(v, e.a));
    }
    case Op::kNeg: {
        const Value v = EvalGeneric(*e.a);
        return v.real ? Value::Real(-v.f) : Value::Int(WrapNeg(v.i));
    }
    case Op::kNot:
        return Value::Int(~EvalGeneric(*e.a).AsInt());
    case Op::kSysVar:
        return SystemValue(e);
    case Op::kFunction:
        return Function(e);
    default: {
        const Value a = EvalGeneric(*e.a);
        return Arithmetic(e.op, a, EvalGeneric(*e.b));
    }
    }
}

Value CInterpreter::SystemValue(const Expr &e) const
{
    switch (e.sym) {
    case symPI:
        return Value::Real(std::numbers::pi);
    case symRXD:
        return Value::Int(static_cast<int32_t>(m_line.Available()));
    case symERR:
        return Value::Int(m_err);
    case symCR:
        return Value::Int('\r');
    case symNL:
        return Value::Int('\n');
    default:
        return Value::Int(m_machine.m_hardware.Read(e.sym, e.suffix));
    }
}

Value CInterpreter::Function(const Expr &e)
{
    if (e.sym == symLEN || e.sym == symVAL || e.sym == symPOS)
        return TextFunction(e);
    if (e.sym == symUSR) {
        for (const Expr *arg : e.args)
            Eval(*arg);
        m_machine.m_trace.NotSimulated("USR");
        return Value::Int(0);
    }
    const Value x = Eval(*e.a);
    const Value y = e.b ? Eval(*e.b) : Value();
    switch (e.sym) {
    case symLO:
        return Value::Int(x.AsInt() & 0xFF);
    case symHI:
        return Value::Int((x.AsInt() >> 8) & 0xFF);
    case symABS:
        return x.real ? Value::Real(std::fabs(x.f)) : Value::Int(x.i < 0 ? WrapNeg(x.i) : x.i);
    case symINT:
        return Value::Int(RealToInt(std::floor(x.AsReal())));
    case symROUND:
        return Value::Int(RealToInt(std::round(x.AsReal())));
    case symPEEK:
        return Value::Int(m_machine.m_hardware.Peek(x.AsInt()));
    case symEOF:
        return Value::Bool(m_machine.m_files.AtEnd(x.AsInt()));
    case symPOW:
        return Value::Real(std::pow(x.AsReal(), y.AsReal()));
    case symMIN:
    case symMAX: {
        const bool less = Arithmetic(Op::kLt, x, y).IsTrue();
        return (e.sym == symMIN) == less ? x : y;
    }
    case symPOINT:
        return Value::Int(m_machine.m_display.Point(x.AsInt(), y.AsInt()));
    default:
        return Value::Real(RealFunction(e.sym, x.AsReal()));
    }
}

// LEN(s), VAL(s [, start]) and POS(s, "text" [, start]); positions count
// from 0 like array indexes, and POS gives -1 when the text is not found.
Value CInterpreter::TextFunction(const Expr &e)
{
    const Variable &v = Var(e.var);
    const std::string text = m_vars.Text(v);
    if (e.sym == symLEN)
        return Value::Int(static_cast<int32_t>(text.size()));
    const int32_t start = e.a ? Eval(*e.a).AsInt() : 0;
    if (start < 0 || static_cast<size_t>(start) > text.size())
        return e.sym == symPOS ? Value::Int(-1) : Value::Int(0);
    if (e.sym == symVAL)
        return ParseValue(std::string_view(text).substr(static_cast<size_t>(start)));
    const size_t found = text.find(e.text, static_cast<size_t>(start));
    return Value::Int(found == std::string::npos ? -1 : static_cast<int32_t>(found));
}

void CInterpreter::ThrowNotDeclared()
{
    throw Fault{RunError::kNotDeclared};
}

int CInterpreter::IndexedElement(const Variable &v, const Expr &index)
{
    const int32_t i = Eval(index).AsInt();
    if (i < 0 || i >= v.Elements())
        throw Fault{RunError::kIndexOutOfRange};
    return i;
}

Value CInterpreter::Load(const VarRef &ref)
{
    const Variable &v = Var(ref.var);
    return m_vars.Load(v, Element(v, ref.index));
}

void CInterpreter::Store(const VarRef &ref, const Value &value)
{
    const Variable &v = Var(ref.var);
    m_vars.Store(v, Element(v, ref.index), value);
}

std::string CInterpreter::TextOf(const VarRef &ref)
{
    const Variable &v = Var(ref.var);
    if (!ref.index && v.length > 0 && (v.type == VarType::kChar || v.type == VarType::kByte))
        return m_vars.Text(v);
    return FormatValue(Load(ref));
}

void CInterpreter::SetText(const VarRef &ref, const std::string &text)
{
    const Variable &v = Var(ref.var);
    if (!ref.index && v.length > 0 && (v.type == VarType::kChar || v.type == VarType::kByte))
        m_vars.SetText(v, text);
    else
        Store(ref, ParseValue(text));
}

// The bytes of a whole variable or of one element, as they lie in memory.
std::vector<uint8_t> CInterpreter::BytesOf(const VarRef &ref)
{
    const Variable &v = Var(ref.var);
    const int size = ref.index ? ElementSize(v.type) : m_vars.Size(v);
    const int offset = ref.index ? Element(v, ref.index) * ElementSize(v.type) : 0;
    const uint8_t *p = m_vars.Bytes(v) + offset;
    return std::vector<uint8_t>(p, p + size);
}

void CInterpreter::SetBytes(const VarRef &ref, const std::vector<uint8_t> &bytes)
{
    const Variable &v = Var(ref.var);
    const int size = ref.index ? ElementSize(v.type) : m_vars.Size(v);
    const int offset = ref.index ? Element(v, ref.index) * ElementSize(v.type) : 0;
    uint8_t *p = m_vars.Bytes(v) + offset;
    for (int i = 0; i < size && static_cast<size_t>(i) < bytes.size(); ++i)
        p[i] = bytes[static_cast<size_t>(i)];
}

} // namespace velsim
