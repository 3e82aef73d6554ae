#include "Code.h"

#include "LanguageNames.h"

#include <cstdio>

void CCode::BeginLine(int index)
{
    EmitByte((index + 1) >> 8);
    EmitByte((index + 1) & 0xFF);
    m_lineStart = Size();
    EmitByte(0);
}

int CCode::EndLine()
{
    EmitByte(0x0A);
    const int length = Size() - m_lineStart;
    m_bytes[m_lineStart] = static_cast<uint8_t>(length & 0xFF);
    return length;
}

void CCode::EmitEnd(int lineCount)
{
    EmitByte((lineCount + 1) >> 8);
    EmitByte((lineCount + 1) & 0xFF);
    EmitByte(0x02);
    EmitByte(0x03);
}

void CCode::EmitByte(int b)
{
    m_bytes.push_back(static_cast<uint8_t>(b));
}

void CCode::EmitText(const std::string &s)
{
    m_bytes.insert(m_bytes.end(), s.begin(), s.end());
}

void CCode::EmitToken(int code, int number)
{
    EmitByte(code);
    if (number >= 0)
        EmitText(std::to_string(number));
}

void CCode::EmitVarName(int index)
{
    if (index > 25)
        EmitByte(0x60 + index / 26);
    EmitByte('a' + index % 26);
}

// Digits written without a formatting call: every constant of a program
// passes here.
void CCode::EmitNumber(int n)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const bool hex = n >= 32768;
    unsigned value = hex || n >= 0 ? static_cast<unsigned>(n) : 0u - static_cast<unsigned>(n);
    const unsigned base = hex ? 16 : 10;
    char digits[12];
    int count = 0;
    do {
        digits[count++] = kDigits[value % base];
        value /= base;
    } while (value);
    if (hex)
        EmitByte('$');
    else if (n < 0)
        EmitByte('-');
    while (count)
        EmitByte(digits[--count]);
}

void CCode::EmitFloat(double x)
{
    char buffer[400]; // room for the widest double: 309 digits, sign, point, 7 decimals
    std::snprintf(buffer, sizeof buffer, "%.7f", x);
    std::string text = buffer;
    const size_t last = text.find_last_not_of('0');
    if (text.find('.') != std::string::npos && last != std::string::npos)
        text.resize(last + 1);
    EmitText(text);
}

void CCode::EmitString(const std::string &ansi)
{
    EmitText(AnsiToOem("\"" + ansi + "\""));
}
