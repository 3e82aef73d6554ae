#include "lang/DebugMap.h"

#include "lang/CharClass.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace velmo::lang {

namespace {

constexpr std::string_view kMagic = "VELMO-MAP";

// The line's blank-separated fields; the last one takes the rest of the line
// when `count` fields are asked for.
std::vector<std::string_view> Fields(std::string_view line, size_t count)
{
    std::vector<std::string_view> fields;
    while (!line.empty() && fields.size() + 1 < count) {
        const size_t blank = line.find(' ');
        fields.push_back(line.substr(0, blank));
        line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    }
    if (!line.empty())
        fields.push_back(line);
    return fields;
}

bool ToInt(std::string_view text, int &value)
{
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

bool ParseFile(const std::vector<std::string_view> &f, DebugMap &map)
{
    int index = 0;
    if (f.size() != 3 || !ToInt(f[1], index) || index != static_cast<int>(map.files.size()))
        return false;
    map.files.emplace_back(f[2]);
    return true;
}

bool ParseLine(const std::vector<std::string_view> &f, DebugMap &map)
{
    MapLine line;
    if (f.size() != 4 || !ToInt(f[1], line.imageLine) || !ToInt(f[2], line.file) || !ToInt(f[3], line.sourceLine))
        return false;
    if (line.file < 0 || line.file >= static_cast<int>(map.files.size()))
        return false;
    if (!map.lines.empty() && line.imageLine <= map.lines.back().imageLine)
        return false;
    map.lines.push_back(line);
    return true;
}

bool ParseVariable(const std::vector<std::string_view> &f, DebugMap &map)
{
    MapVariable var;
    if (f.size() != 5 || ShortVariableIndex(f[1]) < 0 || !ToInt(f[3], var.length) || var.length < 0)
        return false;
    var.shortName = f[1];
    var.type = f[2];
    var.name = f[4];
    map.variables.push_back(var);
    return true;
}

bool ParseLabel(const std::vector<std::string_view> &f, DebugMap &map)
{
    MapLabel label;
    if (f.size() != 3 || !ToInt(f[1], label.imageLine))
        return false;
    label.name = f[2];
    map.labels.push_back(label);
    return true;
}

struct RecordKind {
    std::string_view word;
    size_t fields;
    bool (*parse)(const std::vector<std::string_view> &, DebugMap &);
};

constexpr RecordKind kRecords[] = {
    {"file", 3, ParseFile},
    {"line", 4, ParseLine},
    {"var", 5, ParseVariable},
    {"label", 3, ParseLabel},
};

// False for a known record that does not parse; unknown words pass.
bool ParseRecord(std::string_view text, DebugMap &map)
{
    const std::string_view word = text.substr(0, text.find(' '));
    for (const RecordKind &kind : kRecords) {
        if (kind.word == word)
            return kind.parse(Fields(text, kind.fields), map);
    }
    return true;
}

bool ParseHeader(std::string_view text, std::string &error)
{
    const std::vector<std::string_view> f = Fields(text, 2);
    int version = 0;
    if (f.size() != 2 || f[0] != kMagic || !ToInt(f[1], version)) {
        error = "not a line map";
        return false;
    }
    if (version != kDebugMapVersion) {
        error = "line map version " + std::string(f[1]) + " is not known";
        return false;
    }
    return true;
}

} // namespace

const MapLine *DebugMap::LineOf(int imageLine) const
{
    auto it = std::lower_bound(lines.begin(), lines.end(), imageLine,
                               [](const MapLine &l, int n) { return l.imageLine < n; });
    return it != lines.end() && it->imageLine == imageLine ? &*it : nullptr;
}

const MapLine *DebugMap::FirstLineAtOrAfter(int file, int sourceLine) const
{
    const MapLine *best = nullptr;
    for (const MapLine &l : lines) {
        if (l.file == file && l.sourceLine >= sourceLine && (!best || l.sourceLine < best->sourceLine))
            best = &l;
    }
    return best;
}

int DebugMap::FileIndex(std::string_view path) const
{
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i] == path)
            return static_cast<int>(i);
    }
    return -1;
}

const MapVariable *DebugMap::FindVariable(std::string_view name) const
{
    for (const MapVariable &v : variables) {
        if (EqualNoCase(v.name, name))
            return &v;
    }
    return nullptr;
}

namespace {

// Appends the record's words separated by blanks and ends the line; the map
// of a full program has thousands of records, so a record is put together
// in a buffer and appended in one piece, and numbers are written without a
// stream.
class CRecordWriter {
public:
    explicit CRecordWriter(std::string &out)
        : m_out(out)
    {
    }
    CRecordWriter &operator<<(std::string_view word)
    {
        Blank();
        Put(word);
        return *this;
    }
    CRecordWriter &operator<<(long long number)
    {
        Blank();
        if (sizeof m_record - m_used < kNumberRoom)
            Flush();
        m_used =
            static_cast<size_t>(std::to_chars(m_record + m_used, m_record + sizeof m_record, number).ptr - m_record);
        return *this;
    }
    ~CRecordWriter()
    {
        PutChar('\n');
        Flush();
    }

private:
    void Blank()
    {
        if (m_words++ > 0)
            PutChar(' ');
    }
    // A word longer than the buffer's room (a long path) goes out directly.
    void Put(std::string_view text)
    {
        if (text.size() > sizeof m_record - m_used) {
            Flush();
            if (text.size() > sizeof m_record) {
                m_out += text;
                return;
            }
        }
        std::memcpy(m_record + m_used, text.data(), text.size());
        m_used += text.size();
    }
    void PutChar(char c)
    {
        if (m_used == sizeof m_record)
            Flush();
        m_record[m_used++] = c;
    }
    void Flush()
    {
        m_out.append(m_record, m_used);
        m_used = 0;
    }
    static constexpr size_t kNumberRoom = 20; // digits and sign of any long long
    std::string &m_out;
    char m_record[128];
    size_t m_used = 0;
    int m_words = 0;
};

} // namespace

std::string FormatDebugMap(const DebugMap &map)
{
    std::string out;
    out.reserve(32 * (map.lines.size() + map.variables.size() + map.labels.size() + map.files.size() + 1));
    CRecordWriter(out) << kMagic << kDebugMapVersion;
    for (size_t i = 0; i < map.files.size(); ++i)
        CRecordWriter(out) << "file" << static_cast<long long>(i) << map.files[i];
    for (const MapLine &l : map.lines)
        CRecordWriter(out) << "line" << l.imageLine << l.file << l.sourceLine;
    for (const MapVariable &v : map.variables)
        CRecordWriter(out) << "var" << v.shortName << v.type << v.length << v.name;
    for (const MapLabel &l : map.labels)
        CRecordWriter(out) << "label" << l.imageLine << l.name;
    return out;
}

bool ParseDebugMap(std::string_view text, DebugMap &map, std::string &error)
{
    map = DebugMap();
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (++number == 1) {
            if (!ParseHeader(line, error))
                return false;
        } else if (!line.empty() && line[0] != '#' && !ParseRecord(line, map)) {
            error = "bad record in line " + std::to_string(number);
            return false;
        }
    }
    if (number == 0)
        error = "not a line map";
    return number > 0;
}

std::string ShortVariableName(int index)
{
    std::string name;
    if (index > 25)
        name += static_cast<char>(0x60 + index / 26);
    name += static_cast<char>('a' + index % 26);
    return name;
}

int ShortVariableIndex(std::string_view name)
{
    auto letter = [](char c) { return c >= 'a' && c <= 'z'; };
    if (name.size() == 1 && letter(name[0]))
        return name[0] - 'a';
    if (name.size() == 2 && letter(name[0]) && letter(name[1]))
        return (name[0] - 0x60) * 26 + (name[1] - 'a');
    return -1;
}

std::string MapPathOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + ".map";
}

} // namespace velmo::lang
