#include "SourceMap.h"

#include "lang/CharClass.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace velsim {

namespace {

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

} // namespace

bool CSourceMap::LoadBeside(const std::string &imagePath, std::string &error)
{
    const std::string path = velmo::lang::MapPathOf(imagePath);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "no line map " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    velmo::lang::DebugMap map;
    if (!velmo::lang::ParseDebugMap(text.str(), map, error)) {
        error = path + ": " + error;
        return false;
    }
    Set(std::move(map), FolderOf(path));
    return true;
}

void CSourceMap::Set(velmo::lang::DebugMap map, std::string folder)
{
    m_map = std::move(map);
    m_folder = std::move(folder);
    m_sources.clear();
    m_loaded = true;
}

SourcePlace CSourceMap::PlaceOf(int imageLine) const
{
    const velmo::lang::MapLine *line = m_map.LineOf(imageLine);
    return line ? SourcePlace{line->file, line->sourceLine} : SourcePlace{};
}

std::string CSourceMap::SourcePath(int file) const
{
    if (file < 0 || static_cast<size_t>(file) >= m_map.files.size())
        return "";
    const std::string &name = m_map.files[static_cast<size_t>(file)];
    return !name.empty() && name[0] == '/' ? name : m_folder + "/" + name;
}

const std::vector<std::string> &CSourceMap::Lines(int file) const
{
    auto [it, added] = m_sources.try_emplace(file);
    if (added) {
        std::ifstream in(SourcePath(file), std::ios::binary);
        std::string text;
        while (std::getline(in, text)) {
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            it->second.push_back(text);
        }
    }
    return it->second;
}

std::string CSourceMap::LineText(const SourcePlace &place) const
{
    const std::vector<std::string> &lines = Lines(place.file);
    if (place.line < 1 || static_cast<size_t>(place.line) > lines.size())
        return "";
    const std::string &text = lines[static_cast<size_t>(place.line) - 1];
    const size_t start = text.find_first_not_of(" \t");
    return start == std::string::npos ? "" : text.substr(start);
}

int CSourceMap::VariableNumber(const velmo::lang::MapVariable &var)
{
    return velmo::lang::ShortVariableIndex(var.shortName);
}

std::vector<const velmo::lang::MapVariable *> CSourceMap::VariablesIn(const std::string &text) const
{
    std::vector<const velmo::lang::MapVariable *> found;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '\'')
            break; // the rest is a comment
        if (text[i] == '"') { // a string constant names no variable
            const size_t close = text.find('"', i + 1);
            i = close == std::string::npos ? text.size() : close + 1;
            continue;
        }
        if (!IsWordChar(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && IsWordChar(text[end]))
            ++end;
        const velmo::lang::MapVariable *var = m_map.FindVariable(std::string_view(text).substr(i, end - i));
        if (var && std::find(found.begin(), found.end(), var) == found.end())
            found.push_back(var);
        i = end;
    }
    return found;
}

} // namespace velsim
