// The stack machine that runs translated statements (see IntegerCode.h).
// Each step jumps straight to the next one's code through a table in the
// order of Code; the rarer binary operators share the general operator's
// code of their row. `top` points past the value on top; a translation never
// uses more than kStackDepth places.
#include "Interpreter.h"

#include <cstring>

namespace velsim {

namespace {

template <typename T> T ReadAt(const uint8_t *p)
{
    T x;
    std::memcpy(&x, p, sizeof x);
    return x;
}

template <typename T> void WriteAt(uint8_t *p, T x)
{
    std::memcpy(p, &x, sizeof x);
}

// The operator of a binary step, of any row.
Op OperatorOf(Code code)
{
    Code first = Code::kAdd;
    if (code >= Code::kAddLong)
        first = Code::kAddLong;
    else if (code >= Code::kAddConst)
        first = Code::kAddConst;
    return static_cast<Op>(static_cast<int>(Op::kAdd) + static_cast<int>(code) - static_cast<int>(first));
}

} // namespace

void CInterpreter::ThrowIndexOutOfRange()
{
    throw Fault{RunError::kIndexOutOfRange};
}

#define VELSIM_DISPATCH() goto *kStep[static_cast<int>(step->code)]
#define VELSIM_NEXT()                                                                                                  \
    do {                                                                                                               \
        ++step;                                                                                                        \
        VELSIM_DISPATCH();                                                                                             \
    } while (false)

int32_t CInterpreter::RunSteps(const CodeStep *step)
{
    static const void *const kStep[] = {
        &&constant, &&loadChar, &&loadByte, &&loadWord, &&loadInteger, &&loadLong, &&loadCharAt, &&loadByteAt,
        &&loadWordAt, &&loadIntegerAt, &&loadLongAt, &&neg, &&bitNot,
        // both operands on the stack: kAdd ... kGe
        &&add, &&sub, &&binary, &&binary, &&mul, &&binary, &&binary, &&binary, &&binary, &&binary, &&binary, &&binary,
        &&binary, &&binary, &&binary, &&binary,
        // with a constant
        &&addConst, &&subConst, &&binaryConst, &&binaryConst, &&mulConst, &&divConst, &&modConst, &&binaryConst,
        &&binaryConst, &&binaryConst, &&binaryConst, &&binaryConst, &&binaryConst, &&binaryConst, &&binaryConst,
        &&binaryConst,
        // with a LONG variable
        &&addLong, &&subLong, &&binaryLong, &&binaryLong, &&mulLong, &&binaryLong, &&binaryLong, &&binaryLong,
        &&binaryLong, &&binaryLong, &&binaryLong, &&binaryLong, &&binaryLong, &&binaryLong, &&binaryLong, &&binaryLong,
        // stores and the end of a condition
        &&store8, &&store16, &&store32, &&store8At, &&store16At, &&store32At, &&result};
    static_assert(sizeof kStep / sizeof kStep[0] == kCodeCount, "one entry per step, in the order of Code");

    int32_t stack[CIntegerCode::kStackDepth];
    int32_t *top = stack;
    uint8_t *const memory = m_vars.Data();
    const auto element = [](int32_t index, int32_t length) {
        if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(length)) [[unlikely]]
            ThrowIndexOutOfRange();
        return index;
    };
    const auto variable = [memory](const CodeStep *at) { return ReadAt<int32_t>(memory + at->arg); };
    VELSIM_DISPATCH();

constant:
    *top++ = step->arg;
    VELSIM_NEXT();
loadChar:
    *top++ = static_cast<int8_t>(memory[step->arg]);
    VELSIM_NEXT();
loadByte:
    *top++ = memory[step->arg];
    VELSIM_NEXT();
loadWord:
    *top++ = ReadAt<uint16_t>(memory + step->arg);
    VELSIM_NEXT();
loadInteger:
    *top++ = ReadAt<int16_t>(memory + step->arg);
    VELSIM_NEXT();
loadLong:
    *top++ = variable(step);
    VELSIM_NEXT();
loadCharAt:
    top[-1] = static_cast<int8_t>(memory[step->arg + element(top[-1], step->length)]);
    VELSIM_NEXT();
loadByteAt:
    top[-1] = memory[step->arg + element(top[-1], step->length)];
    VELSIM_NEXT();
loadWordAt:
    top[-1] = ReadAt<uint16_t>(memory + step->arg + 2 * element(top[-1], step->length));
    VELSIM_NEXT();
loadIntegerAt:
    top[-1] = ReadAt<int16_t>(memory + step->arg + 2 * element(top[-1], step->length));
    VELSIM_NEXT();
loadLongAt:
    top[-1] = ReadAt<int32_t>(memory + step->arg + 4 * element(top[-1], step->length));
    VELSIM_NEXT();
neg:
    top[-1] = WrapNeg(top[-1]);
    VELSIM_NEXT();
bitNot:
    top[-1] = ~top[-1];
    VELSIM_NEXT();

add:
    --top;
    top[-1] = WrapAdd(top[-1], *top);
    VELSIM_NEXT();
sub:
    --top;
    top[-1] = WrapSub(top[-1], *top);
    VELSIM_NEXT();
mul:
    --top;
    top[-1] = WrapMul(top[-1], *top);
    VELSIM_NEXT();
binary:
    --top;
    top[-1] = IntegerOp(OperatorOf(step->code), top[-1], *top);
    VELSIM_NEXT();

addConst:
    top[-1] = WrapAdd(top[-1], step->arg);
    VELSIM_NEXT();
subConst:
    top[-1] = WrapSub(top[-1], step->arg);
    VELSIM_NEXT();
mulConst:
    top[-1] = WrapMul(top[-1], step->arg);
    VELSIM_NEXT();
divConst: // the divisor is neither 0 nor -1
    top[-1] /= step->arg;
    VELSIM_NEXT();
modConst:
    top[-1] %= step->arg;
    VELSIM_NEXT();
binaryConst:
    top[-1] = IntegerOp(OperatorOf(step->code), top[-1], step->arg);
    VELSIM_NEXT();

addLong:
    top[-1] = WrapAdd(top[-1], variable(step));
    VELSIM_NEXT();
subLong:
    top[-1] = WrapSub(top[-1], variable(step));
    VELSIM_NEXT();
mulLong:
    top[-1] = WrapMul(top[-1], variable(step));
    VELSIM_NEXT();
binaryLong:
    top[-1] = IntegerOp(OperatorOf(step->code), top[-1], variable(step));
    VELSIM_NEXT();

store8:
    memory[step->arg] = static_cast<uint8_t>(top[-1]);
    return 0;
store16:
    WriteAt(memory + step->arg, static_cast<uint16_t>(top[-1]));
    return 0;
store32:
    WriteAt(memory + step->arg, top[-1]);
    return 0;
store8At:
    memory[step->arg + element(top[-1], step->length)] = static_cast<uint8_t>(top[-2]);
    return 0;
store16At:
    WriteAt(memory + step->arg + 2 * element(top[-1], step->length), static_cast<uint16_t>(top[-2]));
    return 0;
store32At:
    WriteAt(memory + step->arg + 4 * element(top[-1], step->length), top[-2]);
    return 0;
result:
    return top[-1];
}

#undef VELSIM_NEXT
#undef VELSIM_DISPATCH

} // namespace velsim
