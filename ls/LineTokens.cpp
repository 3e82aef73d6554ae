#include "LineTokens.h"

#include "Source.h"

#include "lang/CharClass.h"
#include "lang/Keywords.h"

namespace velmo::ls {

using namespace velmo::lang;

namespace {

int FirstNonBlank(const std::string &text, int from)
{
    const int size = static_cast<int>(text.size());
    while (from < size && static_cast<unsigned char>(text[from]) <= 32)
        ++from;
    return from;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

int Utf16Units(unsigned char leadByte)
{
    if (IsContinuation(leadByte))
        return 0;
    return leadByte >= 0xF0 && leadByte <= 0xF4 ? 2 : 1;
}

} // namespace

std::vector<LineToken> ScanLine(const std::string &text)
{
    std::vector<LineToken> tokens;
    CLine line;
    line.m_text = text;
    const int first = FirstNonBlank(text, 0);
    line.m_directive = first < static_cast<int>(text.size()) && text[first] == '#';
    ScanState scan;
    int pos = 0;
    for (;;) {
        const int start = FirstNonBlank(text, pos);
        const TSYMBOL symbol = line.GetSymbol(scan, pos);
        const int size = static_cast<int>(text.size());
        if (symbol == symEndOfLine) {
            if (start < size) // a comment, or a string that runs to the end
                tokens.push_back({start, size, symbol, text[start] == '\'', {}});
            return tokens;
        }
        const int end = scan.m_pos < size ? scan.m_pos : size;
        if (end <= pos)
            return tokens;
        const bool word = symbol == symIdent || CKeywords::Instance().Info(symbol) != nullptr;
        tokens.push_back({start, end, symbol, false, word ? scan.m_text : std::string()});
        pos = end;
    }
}

const LineToken *TokenAt(const std::vector<LineToken> &tokens, int column)
{
    const LineToken *found = nullptr;
    for (const LineToken &token : tokens) {
        if (token.start <= column && column < token.end)
            return &token;
        if (token.end == column)
            found = &token;
    }
    return found;
}

int Utf16Column(std::string_view line, size_t byteIndex)
{
    int units = 0;
    for (size_t i = 0; i < byteIndex && i < line.size(); ++i)
        units += Utf16Units(static_cast<unsigned char>(line[i]));
    return units;
}

size_t ByteIndex(std::string_view line, int utf16Column)
{
    int units = 0;
    size_t i = 0;
    while (i < line.size() && units < utf16Column) {
        units += Utf16Units(static_cast<unsigned char>(line[i]));
        ++i;
        while (i < line.size() && IsContinuation(static_cast<unsigned char>(line[i])))
            ++i;
    }
    return i;
}

bool IsValidName(const std::string &name)
{
    if (name.empty() || !IsWordStart(name[0]))
        return false;
    for (const char c : name) {
        if (!IsWordChar(c))
            return false;
    }
    return CKeywords::Instance().FindWord(name) == nullptr;
}

} // namespace velmo::ls
