#include "Value.h"

#include <cmath>
#include <cstdio>

namespace velsim {

int32_t RealToInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    const double whole = std::trunc(v);
    if (whole >= -2147483648.0 && whole <= 2147483647.0)
        return static_cast<int32_t>(whole);
    // Beyond 32 bits: the low 32 bits of the whole number, as integer
    // arithmetic wraps (doubles this large are exact whole numbers).
    constexpr double kSpan = 4294967296.0;
    double low = std::fmod(whole, kSpan);
    if (low < 0)
        low += kSpan;
    return static_cast<int32_t>(static_cast<uint32_t>(low));
}

int32_t Value::AsInt() const
{
    return real ? RealToInt(f) : i;
}

// A negative count shifts the other way; 32 places or more shift every bit
// out (a right shift keeps the sign).
int32_t ShiftLeft(int32_t a, int32_t count)
{
    if (count < 0)
        return count <= -32 ? (a < 0 ? -1 : 0) : a >> -count;
    return count > 31 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(a) << count);
}

int32_t ShiftRight(int32_t a, int32_t count)
{
    if (count < 0)
        return count <= -32 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(a) << -count);
    return a >> (count > 31 ? 31 : count);
}

std::string FormatReal(double v)
{
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-Inf" : "Inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", v);
    return text;
}

std::string FormatValue(const Value &v)
{
    return v.real ? FormatReal(v.f) : std::to_string(v.i);
}

namespace {

struct UsingField {
    size_t start = std::string::npos;
    size_t length = 0;
    int digits = 0; // places before the point
    int decimals = -1; // places after it; -1 without a point
    bool zeros = false;
};

UsingField FindField(const std::string &format)
{
    UsingField field;
    field.start = format.find_first_of("#0");
    if (field.start == std::string::npos)
        return field;
    field.zeros = format[field.start] == '0';
    size_t pos = field.start;
    for (; pos < format.size(); ++pos) {
        const char c = format[pos];
        if (c == '.' && field.decimals < 0) {
            field.decimals = 0;
        } else if (c == '#' || c == '0') {
            (field.decimals < 0 ? field.digits : field.decimals)++;
        } else {
            break;
        }
    }
    field.length = pos - field.start;
    return field;
}

} // namespace

std::string FormatUsing(const std::string &format, const Value &v)
{
    const UsingField field = FindField(format);
    if (field.start == std::string::npos)
        return format + FormatValue(v);
    const int decimals = field.decimals < 0 ? 0 : field.decimals;
    char number[400];
    std::snprintf(number, sizeof number, "%.*f", decimals, v.AsReal());
    std::string text = number;
    if (field.decimals == 0)
        text += '.';
    const size_t point = text.find('.');
    const size_t whole = point == std::string::npos ? text.size() : point;
    if (whole < static_cast<size_t>(field.digits)) {
        const size_t pad = field.digits - whole;
        const bool negative = !text.empty() && text[0] == '-';
        if (field.zeros && negative)
            text.insert(1, pad, '0');
        else
            text.insert(0, pad, field.zeros ? '0' : ' ');
    }
    return format.substr(0, field.start) + text + format.substr(field.start + field.length);
}

Value ParseValue(std::string_view text)
{
    size_t pos = text.find_first_not_of(" \t");
    if (pos == std::string_view::npos)
        return Value::Int(0);
    bool negative = false;
    if (text[pos] == '-' || text[pos] == '+')
        negative = text[pos++] == '-';
    auto digit = [&](int base) {
        if (pos >= text.size())
            return -1;
        const char c = text[pos];
        const int d = c >= '0' && c <= '9' ? c - '0'
            : c >= 'A' && c <= 'F'         ? c - 'A' + 10
            : c >= 'a' && c <= 'f'         ? c - 'a' + 10
                                           : 99;
        return d < base ? d : -1;
    };
    int base = 10;
    if (pos < text.size() && (text[pos] == '$' || text[pos] == '%'))
        base = text[pos++] == '$' ? 16 : 2;
    uint32_t whole = 0;
    double real = 0;
    for (int d; (d = digit(base)) >= 0; ++pos) {
        whole = whole * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
        real = real * base + d;
    }
    if (base != 10 || pos >= text.size() || text[pos] != '.') {
        const int32_t value = static_cast<int32_t>(whole);
        return Value::Int(negative ? WrapNeg(value) : value);
    }
    double scale = 1;
    for (++pos; digit(10) >= 0; ++pos) {
        scale /= 10;
        real += (text[pos] - '0') * scale;
    }
    return Value::Real(negative ? -real : real);
}

} // namespace velsim
