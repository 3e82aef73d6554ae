#include "Source.h"

#include "CodePage.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

bool IsLeadingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

std::string UpperCopy(const std::string &s)
{
    std::string upper = s;
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
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
        if (first < stop)
            Add(contents.substr(first, stop - first), number);
        start = end + 1;
    }
}

bool CSource::Read(const std::string &path)
{
    m_lines.clear();
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return false;
    SetText(SourceToAnsi(contents));
    m_name = path;
    return true;
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
    : m_source(source)
{
    m_input.swap(source.m_lines);
    m_source.m_lines.reserve(m_input.size());
}

void CSource::Walker::Keep()
{
    m_source.m_lines.push_back(std::move(m_input[m_next++]));
}

void CSource::Walker::Drop()
{
    m_input[m_next++].reset();
}

void CSource::Walker::Splice(CSource &other)
{
    for (auto &line : other.m_lines)
        m_source.m_lines.push_back(std::move(line));
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
