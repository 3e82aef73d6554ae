#include "MessageReader.h"

#include <charconv>

namespace velmo::ls {

namespace {

constexpr std::string_view kLengthField = "content-length:";

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// The value of the Content-Length line of a header block; false when there
// is none or it is not a plain decimal number.
bool ContentLength(std::string_view header, size_t &length)
{
    while (!header.empty()) {
        const size_t end = header.find('\n');
        std::string_view line = header.substr(0, end);
        header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
        // Garbage before the field (the rest of a dropped message) is passed over.
        while (!line.empty() && !StartsWithNoCase(line, kLengthField))
            line.remove_prefix(1);
        if (line.empty())
            continue;
        line.remove_prefix(kLengthField.size());
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        const auto [end2, error] = std::from_chars(line.data(), line.data() + line.size(), length);
        return error == std::errc() && end2 == line.data() + line.size() && !line.empty();
    }
    return false;
}

} // namespace

void CMessageReader::Feed(std::string_view bytes)
{
    if (m_skip > 0) {
        const size_t dropped = bytes.size() < m_skip ? bytes.size() : m_skip;
        m_skip -= dropped;
        bytes.remove_prefix(dropped);
    }
    m_buffer.append(bytes);
}

CMessageReader::Result CMessageReader::ReadHeader()
{
    const size_t end = m_buffer.find("\r\n\r\n");
    if (end == std::string::npos) {
        if (m_buffer.size() <= kMaxHeaderBytes)
            return kNone;
        m_buffer.clear();
        return kBadHeader;
    }
    size_t length = 0;
    const bool known = ContentLength(std::string_view(m_buffer).substr(0, end), length);
    m_buffer.erase(0, end + 4);
    if (!known)
        return kBadHeader;
    if (length > kMaxMessageBytes) {
        const size_t dropped = length < m_buffer.size() ? length : m_buffer.size();
        m_buffer.erase(0, dropped);
        m_skip = length - dropped;
        return kTooLarge;
    }
    m_bodyLength = length;
    m_inBody = true;
    return kNone;
}

CMessageReader::Result CMessageReader::Next(std::string &body)
{
    if (m_skip > 0)
        return kNone;
    if (!m_inBody) {
        const Result header = ReadHeader();
        if (header != kNone || !m_inBody)
            return header;
    }
    if (m_buffer.size() < m_bodyLength)
        return kNone;
    body.assign(m_buffer, 0, m_bodyLength);
    m_buffer.erase(0, m_bodyLength);
    m_inBody = false;
    return kMessage;
}

std::string FrameMessage(std::string_view body)
{
    std::string message = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    message.append(body);
    return message;
}

} // namespace velmo::ls
