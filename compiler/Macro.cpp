#include "Macros.h"

#include "LanguageNames.h"

#include <algorithm>

namespace {

// Characters a parameter list passes over: controls, blanks and codes of 0x80 and above.
bool IsSkipped(char c)
{
    return static_cast<unsigned char>(c) <= 32 || static_cast<unsigned char>(c) >= 0x80;
}

// Index just behind the run of characters that satisfy the test.
template <typename Test> size_t RunEnd(const std::string &text, size_t pos, Test test)
{
    while (pos < text.size() && test(text[pos]))
        ++pos;
    return pos;
}

// "#" doubled, so that it cannot be taken for a placeholder.
std::string EscapeHashes(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '#' ? std::string("##") : std::string(1, c);
    return out;
}

} // namespace

std::string TrimBlanks(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool CMacro::Parse(const std::string &text)
{
    m_params.clear();
    m_paramCount = 0;
    if (text.empty() || text[0] != '(') {
        m_body = TrimBlanks(text);
        return true;
    }
    m_state = kOpen;
    for (m_pos = 1; m_pos < text.size() && m_state != kClosed && m_state != kFailed; ++m_pos) {
        m_char = text[m_pos];
        ParameterChar();
    }
    if (m_state != kClosed)
        return false;
    m_paramCount = static_cast<int>(m_params.size());
    m_body = TrimBlanks(MarkParameters(text.substr(m_pos)));
    return true;
}

// One character of a parameter list "(a, b)".
void CMacro::ParameterChar()
{
    if (m_state == kInName) {
        if (IsWordChar(m_char)) {
            m_word += m_char;
            return;
        }
        EndOfName();
        if (m_state == kFailed)
            return;
    }
    if (IsWordStart(m_char)) {
        m_state = m_state == kAfterName ? kFailed : kInName;
        m_word.assign(1, m_char);
    } else if (m_char == ',') {
        m_state = m_state == kAfterName ? kAfterComma : kFailed;
    } else if (m_char == ')') {
        m_state = m_state == kAfterComma ? kFailed : kClosed;
    } else if (!IsSkipped(m_char)) {
        m_state = kFailed;
    }
}

void CMacro::EndOfName()
{
    if (ParameterIndex(m_word) >= 0) {
        m_state = kFailed;
        return;
    }
    m_params.push_back(m_word);
    m_state = kAfterName;
}

int CMacro::ParameterIndex(const std::string &word) const
{
    auto it = std::find(m_params.begin(), m_params.end(), word);
    return it == m_params.end() ? -1 : static_cast<int>(it - m_params.begin());
}

// Replaces every parameter name by its placeholder. The body is cut into
// words, numbers and strings the way the scanner will cut it, so "$FF" or a
// word inside a string constant never counts as a parameter.
std::string CMacro::MarkParameters(const std::string &body) const
{
    if (m_params.empty())
        return body;
    std::string out;
    size_t pos = 0;
    while (pos < body.size()) {
        const char c = body[pos];
        size_t end = pos + 1;
        if (c == '"') {
            end = body.find('"', pos + 1);
            end = end == std::string::npos ? body.size() : end + 1;
        } else if (IsWordStart(c)) {
            end = RunEnd(body, pos, IsWordChar);
            const int index = ParameterIndex(body.substr(pos, end - pos));
            if (index >= 0) {
                out += '#';
                out += std::to_string(index);
                pos = end;
                continue;
            }
        } else if (IsDigit(c)) {
            end = RunEnd(body, pos, IsDigit);
        } else if (c == '$') {
            end = RunEnd(body, pos + 1, IsHexDigit);
        } else if (c == '%') {
            end = RunEnd(body, pos + 1, [](char d) { return d == '0' || d == '1'; });
        }
        out += EscapeHashes(body.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

std::string CMacro::Substitute(const std::vector<std::string> &args) const
{
    std::string out;
    size_t pos = 0;
    while (pos < m_body.size()) {
        if (m_body[pos] != '#') {
            out += m_body[pos++];
            continue;
        }
        if (pos + 1 < m_body.size() && m_body[pos + 1] == '#') {
            out += '#';
            pos += 2;
            continue;
        }
        const size_t end = RunEnd(m_body, pos + 1, IsDigit);
        size_t index = 0;
        for (size_t digit = pos + 1; digit < end && index <= args.size(); ++digit) {
            index = index * 10 + static_cast<size_t>(m_body[digit] - '0');
        }
        const bool placeholder = end > pos + 1 && index < args.size();
        out += placeholder ? args[index] : m_body.substr(pos, end - pos);
        pos = end;
    }
    return out;
}
