// Cuts one program line into symbols.
//
// Integer constants wrap modulo 2^32 (so $FFFFFFFF is -1 and an over-long
// decimal number keeps its low 32 bits, without undefined behaviour). A float
// constant is the double nearest to its decimal text, so 3.14159265 goes into
// the image as 3.1415927; one too large for a double becomes the largest one.
#include "Scanner.h"

#include "LanguageNames.h"
#include "Source.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace {

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Accumulates one digit into a 32-bit value, wrapping instead of overflowing.
int32_t Accumulate(int32_t value, int radix, int digit)
{
    uint32_t wide = static_cast<uint32_t>(value) * static_cast<uint32_t>(radix);
    return static_cast<int32_t>(wide + static_cast<uint32_t>(digit));
}

// The double nearest to a constant's decimal text ("123.456"); a value too
// large for a double becomes the largest one, one too small for it 0.
double DecimalValue(const std::string &text)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool noWholePart = text.find_first_not_of('0') == text.find('.');
        value = noWholePart ? 0.0 : DBL_MAX;
    }
    return value;
}

struct SingleChar {
    char c;
    TSYMBOL symbol;
};
constexpr SingleChar kSingleChars[] = {
    {'+', symPlus},   {'-', symMinus},  {'*', symTimes},    {'/', symDivide},   {'=', symEqual},
    {'(', symLParen}, {')', symRParen}, {'[', symLBracket}, {']', symRBracket}, {',', symComma},
    {':', symColon},  {'&', symAnd},    {'|', symOr},       {'^', symXor},      {'~', symNot},
};

// Scans one line with the state of one compile run.
class CLineScanner {
public:
    CLineScanner(CLine &line, ScanState &scan)
        : m_line(line)
        , m_text(line.m_text)
        , m_s(scan)
    {
    }
    TSYMBOL GetSymbol(int start);

private:
    CLine &m_line;
    std::string &m_text;
    ScanState &m_s;

    bool ReadChar();
    TSYMBOL SkipBlanks();
    TSYMBOL ScanWord();
    TSYMBOL ScanDecimal();
    TSYMBOL ScanRadix(int radix);
    TSYMBOL ScanString();
    TSYMBOL ScanDirective();
    TSYMBOL ScanOperator();
    TSYMBOL Finish(TSYMBOL symbol, bool stepBack);
};

// Reads the character at m_pos into m_char. Reading at the text's length
// yields NUL; a read beyond that fails, which ends the scan.
bool CLineScanner::ReadChar()
{
    const int size = static_cast<int>(m_text.size());
    if (m_s.m_pos > size)
        return false;
    m_s.m_char = m_s.m_pos < size ? m_text[m_s.m_pos] : '\0';
    ++m_s.m_pos;
    return true;
}

TSYMBOL CLineScanner::Finish(TSYMBOL symbol, bool stepBack)
{
    if (stepBack)
        --m_s.m_pos;
    m_s.m_symbol = symbol;
    return symbol;
}

// Skips codes 0..32. An end-of-expansion mark pops the innermost active
// expansion and is deleted from the text. Returns symInvalid when a
// character to decide on was found, symEndOfLine when the line ran out.
TSYMBOL CLineScanner::SkipBlanks()
{
    for (;;) {
        if (!ReadChar())
            return symEndOfLine;
        const unsigned char c = static_cast<unsigned char>(m_s.m_char);
        if (c == kEndOfExpansion && !m_s.m_activeExpansions.empty()) {
            m_s.m_activeExpansions.pop_back();
            m_text.erase(m_s.m_pos - 1, 1);
            --m_s.m_pos;
            continue;
        }
        if (c > 32)
            return symInvalid;
    }
}

TSYMBOL CLineScanner::GetSymbol(int start)
{
    if (start >= 0)
        m_s.m_pos = start;
    if (SkipBlanks() == symEndOfLine)
        return Finish(symEndOfLine, false);
    const char c = m_s.m_char;
    if (IsWordStart(c))
        return ScanWord();
    if (IsDigit(c))
        return ScanDecimal();
    if (c == '$')
        return ScanRadix(16);
    if (c == '%')
        return ScanRadix(2);
    if (c == '"')
        return ScanString();
    if (c == '\'') { // a comment: the rest of the line is never scanned
        m_s.m_pos = static_cast<int>(m_text.size());
        return Finish(symEndOfLine, false);
    }
    if (c == '#')
        return m_line.m_directive ? ScanDirective() : Finish(symHash, false);
    return ScanOperator();
}

// The word is cut out of the text in one piece and looked up without an
// upper-case copy; the scanner stops on the character after it.
TSYMBOL CLineScanner::ScanWord()
{
    const size_t size = m_text.size();
    const size_t start = static_cast<size_t>(m_s.m_pos) - 1;
    size_t end = start + 1;
    while (end < size && IsWordChar(m_text[end]))
        ++end;
    m_s.m_text.assign(m_text, start, end - start);
    m_s.m_char = end < size ? m_text[end] : '\0';
    m_s.m_pos = static_cast<int>(end);
    const KeywordInfo *keyword = CKeywords::Instance().FindWord(m_s.m_text);
    m_s.m_symbol = keyword ? keyword->symbol : symIdent;
    return m_s.m_symbol;
}

TSYMBOL CLineScanner::ScanDecimal()
{
    std::string digits(1, m_s.m_char);
    m_s.m_intValue = m_s.m_char - '0';
    while (ReadChar() && IsDigit(m_s.m_char)) {
        m_s.m_intValue = Accumulate(m_s.m_intValue, 10, m_s.m_char - '0');
        digits += m_s.m_char;
    }
    if (m_s.m_char != '.')
        return Finish(symInteger, true);
    digits += '.';
    while (ReadChar() && IsDigit(m_s.m_char))
        digits += m_s.m_char;
    m_s.m_floatValue = DecimalValue(digits);
    return Finish(symFloat, true);
}

TSYMBOL CLineScanner::ScanRadix(int radix)
{
    m_s.m_intValue = 0;
    for (;;) {
        if (!ReadChar())
            return Finish(symEndOfLine, false);
        const int digit = HexValue(m_s.m_char);
        if (digit < 0 || digit >= radix)
            break;
        m_s.m_intValue = Accumulate(m_s.m_intValue, radix, digit);
    }
    return Finish(symInteger, true);
}

// A string without its closing quote runs into the end of the line and gives
// end of line; the NUL read at the end of the text is not part of m_text.
TSYMBOL CLineScanner::ScanString()
{
    m_s.m_text.clear();
    for (;;) {
        if (!ReadChar())
            return Finish(symEndOfLine, false);
        if (m_s.m_char == '"')
            return Finish(symString, false);
        if (m_s.m_pos <= static_cast<int>(m_text.size()))
            m_s.m_text += m_s.m_char;
    }
}

TSYMBOL CLineScanner::ScanDirective()
{
    m_s.m_text.assign(1, '#');
    while (ReadChar() && IsWordChar(m_s.m_char))
        m_s.m_text += m_s.m_char;
    // Only the directive keywords are spelt with "#" in the keyword table.
    if (!LookupKeyword(m_s.m_text, m_s.m_symbol))
        m_s.m_symbol = symBadDirective;
    return Finish(m_s.m_symbol, true);
}

// Operators of one or two characters; any other character is invalid.
TSYMBOL CLineScanner::ScanOperator()
{
    const char c = m_s.m_char;
    auto followedBy = [this](char next) {
        if (m_s.m_pos < static_cast<int>(m_text.size()) && m_text[m_s.m_pos] == next) {
            ++m_s.m_pos;
            return true;
        }
        return false;
    };
    if (c == '<') {
        if (followedBy('<'))
            return Finish(symShiftLeft, false);
        if (followedBy('>'))
            return Finish(symNotEqual, false);
        if (followedBy('='))
            return Finish(symLessEqual, false);
        return Finish(symLess, false);
    }
    if (c == '>') {
        if (followedBy('>'))
            return Finish(symShiftRight, false);
        if (followedBy('='))
            return Finish(symGreaterEqual, false);
        return Finish(symGreater, false);
    }
    if (c == '.')
        return Finish(followedBy('.') ? symRange : symPeriod, false);
    for (const SingleChar &s : kSingleChars) {
        if (s.c == c)
            return Finish(s.symbol, false);
    }
    return Finish(symInvalid, false);
}

} // namespace

TSYMBOL CLine::GetSymbol(ScanState &scan, int start)
{
    return CLineScanner(*this, scan).GetSymbol(start);
}
