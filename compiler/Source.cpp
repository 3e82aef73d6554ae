#include "Source.h"

#include "LanguageNames.h"

#include "Messages.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsLeadingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

SourceError ReadOpenFile(int fd, std::string &contents)
{
    struct stat info { };
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
        return SourceError::kCantOpen;
    if (!S_ISREG(info.st_mode))
        return SourceError::kNotRegularFile;
    if (static_cast<unsigned long long>(info.st_size) > kMaxSourceBytes)
        return SourceError::kTooLarge;
    contents.resize(static_cast<size_t>(info.st_size) + 1);
    size_t size = 0;
    for (;;) {
        if (size == contents.size())
            contents.resize(size * 2 > kMaxSourceBytes + 1 ? kMaxSourceBytes + 1 : size * 2);
        const ssize_t n = ::read(fd, contents.data() + size, contents.size() - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return SourceError::kCantOpen;
        if (n == 0)
            break;
        size += static_cast<size_t>(n);
        if (size > kMaxSourceBytes) // the file grew while it was read
            return SourceError::kTooLarge;
    }
    contents.resize(size);
    return SourceError::kNone;
}

std::string UpperCopy(const std::string &s)
{
    std::string upper = s;
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// Reads the whole file into `contents`. Only regular files are read: a FIFO
// or a device may never end. Opening does not wait for a FIFO's writer.
SourceError ReadWholeFile(const std::string &path, std::string &contents)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return SourceError::kCantOpen;
    const SourceError error = ReadOpenFile(fd, contents);
    ::close(fd);
    return error;
}

} // namespace

void CSource::Add(const std::string &text, int lineNumber)
{
    auto line = std::make_unique<CLine>();
    line->m_text = text;
    line->m_lineNumber = lineNumber;
    m_lines.push_back(std::move(line));
}

// One line per "\n"; a CR before it belongs to the line end. Lines that are
// empty after removing leading white space are skipped but still counted.
void CSource::SetText(const std::string &contents)
{
    m_lines.clear();
    size_t start = 0;
    int number = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        ++number;
        size_t stop = end;
        if (stop > start && contents[stop - 1] == '\r')
            --stop;
        size_t first = start;
        while (first < stop && IsLeadingSpace(contents[first]))
            ++first;
        if (first < stop) {
            auto line = std::make_unique<CLine>();
            line->m_text.assign(contents, first, stop - first);
            line->m_lineNumber = number;
            m_lines.push_back(std::move(line));
        }
        start = end + 1;
    }
}

bool CSource::Read(const std::string &path)
{
    m_lines.clear();
    std::string contents;
    m_error = ReadWholeFile(path, contents);
    if (m_error != SourceError::kNone)
        return false;
    SetText(SourceToAnsi(std::move(contents)));
    m_name = path;
    return true;
}

void CSource::SetContents(const std::string &path, std::string contents)
{
    m_error = SourceError::kNone;
    SetText(SourceToAnsi(std::move(contents)));
    m_name = path;
}

void CSource::RemoveAt(int index)
{
    m_lines.erase(m_lines.begin() + index);
}

void CSource::InsertAll(int index, CSource &other)
{
    m_lines.insert(m_lines.begin() + index, std::make_move_iterator(other.m_lines.begin()),
                   std::make_move_iterator(other.m_lines.end()));
    other.m_lines.clear();
}

CSource::Walker::Walker(CSource &source)
    : m_output(source.m_lines)
{
    m_input.swap(source.m_lines);
    m_output.reserve(m_input.size());
}

CSource::Walker::Walker(CSource &input, Walker &output)
    : m_output(output.m_output)
{
    m_input.swap(input.m_lines);
}

void CSource::Walker::Keep()
{
    m_output.push_back(std::move(m_input[m_next++]));
}

void CSource::Walker::Drop()
{
    m_input[m_next++].reset();
}

void CSource::Walker::Splice(CSource &other)
{
    for (auto &line : other.m_lines)
        m_output.push_back(std::move(line));
    other.m_lines.clear();
}

void CSource::Walker::Done()
{
    if (m_done)
        return;
    while (!AtEnd())
        Keep();
    m_input.clear();
    m_done = true;
}

int CFileList::Find(const std::string &name) const
{
    auto it = m_index.find(UpperCopy(name));
    return it == m_index.end() ? -1 : it->second;
}

int CFileList::FindOrAdd(const std::string &name)
{
    const int found = Find(name);
    if (found >= 0)
        return found;
    m_names.push_back(name);
    m_index.emplace(UpperCopy(name), Count() - 1);
    return Count() - 1;
}

const std::string &CFileList::Name(int index) const
{
    static const std::string empty;
    return index >= 0 && index < Count() ? m_names[index] : empty;
}
