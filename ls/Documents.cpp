#include "Documents.h"

#include "Messages.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmo::ls {

namespace {

constexpr std::string_view kFileScheme = "file://";

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool KeptInUri(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
        std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string UriToPath(std::string_view uri)
{
    if (uri.substr(0, kFileScheme.size()) != kFileScheme)
        return {};
    uri.remove_prefix(kFileScheme.size());
    const size_t slash = uri.find('/'); // skips an authority such as "localhost"
    if (slash == std::string_view::npos)
        return {};
    uri.remove_prefix(slash);
    std::string path;
    for (size_t i = 0; i < uri.size(); ++i) {
        const int high = uri[i] == '%' && i + 2 < uri.size() ? HexDigit(uri[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(uri[i + 2]) : -1;
        if (low >= 0) {
            path += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            path += uri[i];
        }
    }
    // A NUL cannot be part of a file name.
    return path.find('\0') == std::string::npos ? path : std::string();
}

std::string PathToUri(std::string_view path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri(kFileScheme);
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptInUri(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

void CDocuments::Open(const std::string &path, std::string text)
{
    if (!IsOpen(path))
        m_order.push_back(path);
    m_texts[path] = std::move(text);
}

void CDocuments::Close(const std::string &path)
{
    m_texts.erase(path);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), path), m_order.end());
}

bool CDocuments::IsOpen(const std::string &path) const
{
    return m_texts.count(path) > 0;
}

bool CDocuments::Text(const std::string &path, std::string &text) const
{
    if (Contents(path, text))
        return true;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kMaxSourceBytes)
        return false;
    std::ifstream file(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool CDocuments::Contents(const std::string &fullPath, std::string &text) const
{
    const auto it = m_texts.find(fullPath);
    if (it == m_texts.end())
        return false;
    text = it->second;
    return true;
}

} // namespace velmo::ls
