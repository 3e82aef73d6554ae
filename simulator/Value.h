// Values of the module's interpreter: whole numbers in 32 bits or floating
// point. Integer operations wrap around like the module's 32-bit arithmetic;
// as soon as one operand is floating point the result is too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velsim {

struct Value {
    double f = 0;
    int32_t i = 0;
    bool real = false;

    static Value Int(int32_t v)
    {
        Value value;
        value.i = v;
        return value;
    }
    static Value Real(double v)
    {
        Value value;
        value.f = v;
        value.real = true;
        return value;
    }
    static Value Bool(bool v)
    {
        return Int(v ? -1 : 0); // all bits set, so NOT gives false
    }

    double AsReal() const
    {
        return real ? f : i;
    }
    int32_t AsInt() const;
    bool IsTrue() const
    {
        return real ? f != 0 : i != 0;
    }
};

// A floating-point number as an integer: truncated toward zero, then wrapped
// to 32 bits like every integer result; NaN and infinities give 0.
int32_t RealToInt(double v);

// Wrapping integer arithmetic (no undefined overflow).
inline int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t WrapMul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t WrapNeg(int32_t a)
{
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}
// INC and DEC: a whole number wraps, a floating-point value keeps its fraction.
inline Value Step(const Value &v, int32_t by)
{
    return v.real ? Value::Real(v.f + by) : Value::Int(WrapAdd(v.i, by));
}
int32_t ShiftLeft(int32_t a, int32_t count);
int32_t ShiftRight(int32_t a, int32_t count); // arithmetic

// Numbers as PRINT writes them: integers in decimal, floating point with up
// to seven significant digits ("12.5", "0.3333333", "2").
std::string FormatValue(const Value &v);
std::string FormatReal(double v);

// PRINT USING: the first field of "#" and "0" digits (with an optional ".")
// in the format takes the number; the other characters are copied. "0"
// pads with zeros, "#" with blanks.
std::string FormatUsing(const std::string &format, const Value &v);

// The number at the start of a text, as INPUT and VAL read it: blanks, an
// optional sign, then decimal digits with an optional "." and fraction, or
// "$" and hex digits, or "%" and binary digits. 0 when there is none.
Value ParseValue(std::string_view text);

} // namespace velsim
