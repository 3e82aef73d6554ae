#include "VelmoTokenizer.h"

#include "lang/CharClass.h"
#include "lang/Keywords.h"

#include <algorithm>

namespace {

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperCase(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), Upper);
    return result;
}

// Negative, zero or positive like a case-blind strcmp.
int CompareNoCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(Upper(a[i]));
        const auto cb = static_cast<unsigned char>(Upper(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == 'x';
}

bool IsSpaceCode(unsigned c)
{
    return (c >= 1 && c <= 9) || c == 11 || c == 12 || (c >= 14 && c <= 32);
}

} // namespace

const std::vector<std::string> &VelmoKeywords()
{
    static const std::vector<std::string> words = [] {
        std::vector<std::string> list;
        for (const velmo::lang::KeywordInfo &k : velmo::lang::CKeywords::Instance().All()) {
            if (velmo::lang::IsReservedWordClass(k.wordClass))
                list.emplace_back(k.name);
        }
        std::sort(list.begin(), list.end());
        return list;
    }();
    return words;
}

bool IsIdentifierChar(unsigned char c)
{
    return velmo::lang::IsWordChar(static_cast<char>(c)) || c == '.';
}

TVelmoTokenizer::TVelmoTokenizer()
{
    m_keywords = VelmoKeywords();
    MakeDispatchTable();
}

void TVelmoTokenizer::SetStringDelim(TStringDelim delim)
{
    m_stringDelim = delim;
    MakeDispatchTable();
}

void TVelmoTokenizer::SetKeyWords(std::vector<std::string> words)
{
    for (auto &word : words)
        word = UpperCase(word);
    std::sort(words.begin(), words.end(),
              [](const std::string &a, const std::string &b) { return CompareNoCase(a, b) < 0; });
    m_keywords = std::move(words);
}

bool TVelmoTokenizer::IsKeyword(std::string_view word) const
{
    const std::string key = UpperCase(word);
    std::size_t low = 0;
    std::size_t high = m_keywords.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        const int cmp = CompareNoCase(m_keywords[mid], key);
        if (cmp == 0)
            return true;
        if (cmp < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return false;
}

void TVelmoTokenizer::MakeDispatchTable()
{
    for (unsigned c = 0; c < 256; ++c) {
        TProc proc = TProc::Unknown;
        if (c == 0)
            proc = TProc::Null;
        else if (c == '\n')
            proc = TProc::LF;
        else if (c == '\r')
            proc = TProc::CR;
        else if (IsSpaceCode(c))
            proc = TProc::Space;
        else if (c == '#')
            proc = TProc::Hash;
        else if (c == '$' || c == '%')
            proc = TProc::Integer;
        else if (c == '\'')
            proc = TProc::Apostrophe;
        else if (c == '(')
            proc = TProc::RoundOpen;
        else if (c == '/')
            proc = TProc::Slash;
        else if (c >= '0' && c <= '9')
            proc = TProc::Number;
        else if (c == ';')
            proc = TProc::Semicolon;
        else if (c == '{')
            proc = TProc::BraceOpen;
        else if (velmo::lang::IsWordStart(static_cast<char>(c)))
            proc = TProc::Ident;
        m_dispatch[c] = proc;
    }
    m_dispatch[static_cast<unsigned char>(m_stringDelim == TStringDelim::sdDoubleQuote ? '"' : '\'')] = TProc::String;
}

char TVelmoTokenizer::At(std::size_t pos) const
{
    return pos < m_line.size() ? m_line[pos] : '\0';
}

bool TVelmoTokenizer::AtLineEnd(std::size_t pos) const
{
    const char c = At(pos);
    return c == '\0' || c == '\n' || c == '\r';
}

void TVelmoTokenizer::SetLine(std::string_view line, int index)
{
    m_line = line;
    m_lineIndex = index;
    m_run = 0;
    Next();
}

std::string_view TVelmoTokenizer::GetToken() const
{
    return m_line.substr(m_tokenPos, m_run - m_tokenPos);
}

void TVelmoTokenizer::Next()
{
    m_tokenPos = m_run;
    const bool inComment =
        m_range == TRangeState::AnsiComment || m_range == TRangeState::PasComment || m_range == TRangeState::CComment;
    if (inComment && !AtLineEnd(m_run)) {
        ContinueComment();
        return;
    }
    Dispatch(m_dispatch[static_cast<unsigned char>(At(m_run))]);
}

void TVelmoTokenizer::Dispatch(TProc proc)
{
    const char next = At(m_run + 1);
    switch (proc) {
    case TProc::Null:
        m_kind = TTokenKind::Eol;
        break;
    case TProc::LF:
        OneChar(TTokenKind::Space);
        break;
    case TProc::CR:
        CRProc();
        break;
    case TProc::Space:
        SpaceProc();
        break;
    case TProc::String:
        StringProc();
        break;
    case TProc::Hash:
        HashProc();
        break;
    case TProc::Integer:
        IntegerProc();
        break;
    case TProc::Number:
        NumberProc();
        break;
    case TProc::Ident:
        IdentProc();
        break;
    case TProc::Unknown:
        OneChar(TTokenKind::Unknown);
        break;
    case TProc::Apostrophe:
        if (m_comments & csBasStyle)
            ToEndOfLine(TTokenKind::Comment);
        else
            OneChar(TTokenKind::Symbol);
        break;
    case TProc::Semicolon:
        if (m_comments & csAsmStyle)
            ToEndOfLine(TTokenKind::Comment);
        else
            OneChar(TTokenKind::Symbol);
        break;
    case TProc::RoundOpen:
        if ((m_comments & csAnsiStyle) && next == '*') {
            m_run += 2;
            ScanBlockComment('*', ')', TRangeState::AnsiComment);
        } else {
            OneChar(TTokenKind::Symbol);
        }
        break;
    case TProc::BraceOpen:
        if (m_comments & csPasStyle) {
            m_run += 1;
            ScanBlockComment('}', '\0', TRangeState::PasComment);
        } else {
            OneChar(TTokenKind::Symbol);
        }
        break;
    case TProc::Slash:
        if ((m_comments & csCStyle) && next == '*') {
            m_run += 2;
            ScanBlockComment('*', '/', TRangeState::CComment);
        } else if ((m_comments & csCPPStyle) && next == '/') {
            ToEndOfLine(TTokenKind::Comment);
        } else {
            OneChar(TTokenKind::Symbol);
        }
        break;
    }
}

void TVelmoTokenizer::ContinueComment()
{
    switch (m_range) {
    case TRangeState::AnsiComment:
        ScanBlockComment('*', ')', m_range);
        break;
    case TRangeState::PasComment:
        ScanBlockComment('}', '\0', m_range);
        break;
    default:
        ScanBlockComment('*', '/', m_range);
        break;
    }
}

// Scans a comment from m_run up to and including its closing characters
// (close2 == '\0' for a one-character close). Without them the comment ends
// with the line and the range carries it into the next line.
void TVelmoTokenizer::ScanBlockComment(char close1, char close2, TRangeState range)
{
    m_kind = TTokenKind::Comment;
    m_range = range;
    while (!AtLineEnd(m_run)) {
        if (At(m_run) == close1 && (close2 == '\0' || At(m_run + 1) == close2)) {
            m_run += close2 == '\0' ? 1 : 2;
            m_range = TRangeState::Normal;
            return;
        }
        ++m_run;
    }
}

void TVelmoTokenizer::ToEndOfLine(TTokenKind kind)
{
    m_kind = kind;
    while (!AtLineEnd(m_run))
        ++m_run;
}

void TVelmoTokenizer::OneChar(TTokenKind kind)
{
    m_kind = kind;
    ++m_run;
}

void TVelmoTokenizer::SpaceProc()
{
    m_kind = TTokenKind::Space;
    while (m_run < m_line.size() && IsSpaceCode(static_cast<unsigned char>(m_line[m_run])))
        ++m_run;
}

void TVelmoTokenizer::CRProc()
{
    m_kind = TTokenKind::Space;
    ++m_run;
    if (At(m_run) == '\n')
        ++m_run;
}

// A string runs to the next delimiter (included) or to the end of the line.
// A doubled delimiter right after the opening one is skipped first.
void TVelmoTokenizer::StringProc()
{
    m_kind = TTokenKind::String;
    const char delim = At(m_run);
    if (At(m_run + 1) == delim && At(m_run + 2) == delim)
        m_run += 2;
    do {
        if (AtLineEnd(m_run))
            break;
        ++m_run;
    } while (At(m_run) != delim);
    if (At(m_run) == delim)
        ++m_run;
}

void TVelmoTokenizer::HashProc()
{
    if (!m_detectPreprocessor) {
        OneChar(TTokenKind::Symbol);
        return;
    }
    m_kind = TTokenKind::Preprocessor;
    ++m_run;
    while (m_run < m_line.size() && velmo::lang::IsWordChar(m_line[m_run]))
        ++m_run;
}

void TVelmoTokenizer::IntegerProc()
{
    m_kind = TTokenKind::Number;
    ++m_run;
    while (m_run < m_line.size() && velmo::lang::IsHexDigit(m_line[m_run]))
        ++m_run;
}

void TVelmoTokenizer::NumberProc()
{
    m_kind = TTokenKind::Number;
    ++m_run;
    while (m_run < m_line.size() && IsNumberChar(m_line[m_run])) {
        const char c = m_line[m_run];
        if (c == 'x') {
            IntegerProc();
            return;
        }
        if (c == '.' && At(m_run + 1) == '.')
            return;
        ++m_run;
    }
}

void TVelmoTokenizer::IdentProc()
{
    ++m_run;
    while (m_run < m_line.size() && IsIdentifierChar(static_cast<unsigned char>(m_line[m_run])))
        ++m_run;
    m_kind = IsKeyword(GetToken()) ? TTokenKind::Key : TTokenKind::Identifier;
}
