#include "VirtualFiles.h"

namespace velsim {

CVirtualFiles::CVirtualFiles(CTrace &trace)
    : m_trace(trace)
{
}

bool CVirtualFiles::Open(int32_t device, const std::string &name, int32_t mode)
{
    if (mode < kInput || mode > kAppend)
        return false;
    Close(device);
    const bool exists = m_files.count(name) != 0;
    if (m_open.size() >= kMaxOpen || (mode == kInput && !exists) || (!exists && m_files.size() >= kMaxFiles))
        return false;
    std::string &contents = m_files[name];
    if (mode == kOutput)
        contents.clear();
    const bool append = mode == kAppend;
    m_open[device] = {name, static_cast<Mode>(mode), append ? contents.size() : 0,
                      append ? ColumnAfter(0, contents) : 0};
    static const char *const kModes[] = {"input", "output", "append"};
    m_trace.Change("file \"" + name + "\" opened for " + kModes[mode] + " as #" + std::to_string(device));
    return true;
}

void CVirtualFiles::Close(int32_t device)
{
    auto it = m_open.find(device);
    if (it == m_open.end())
        return;
    m_trace.Change("file \"" + it->second.name + "\" closed (" + std::to_string(m_files[it->second.name].size()) +
                   " bytes)");
    m_open.erase(it);
}

void CVirtualFiles::CloseAll()
{
    while (!m_open.empty())
        Close(m_open.begin()->first);
}

size_t CVirtualFiles::Used() const
{
    size_t used = 0;
    for (const auto &file : m_files)
        used += file.second.size();
    return used;
}

bool CVirtualFiles::Write(int32_t device, std::string_view bytes)
{
    auto it = m_open.find(device);
    if (it == m_open.end() || it->second.mode == kInput)
        return false;
    const size_t room = kCapacity - std::min(kCapacity, Used());
    const bool fits = bytes.size() <= room;
    const std::string_view written = bytes.substr(0, fits ? bytes.size() : room);
    m_files[it->second.name].append(written);
    it->second.column = ColumnAfter(it->second.column, written);
    return fits;
}

int64_t CVirtualFiles::Column(int32_t device) const
{
    auto it = m_open.find(device);
    return it == m_open.end() ? 0 : it->second.column;
}

int64_t CVirtualFiles::ColumnAfter(int64_t column, std::string_view bytes)
{
    const size_t end = bytes.find_last_of("\r\n");
    if (end == std::string_view::npos)
        return column + static_cast<int64_t>(bytes.size());
    return static_cast<int64_t>(bytes.size() - end - 1);
}

int CVirtualFiles::Read(int32_t device)
{
    auto it = m_open.find(device);
    if (it == m_open.end() || it->second.mode != kInput)
        return -1;
    const std::string &contents = m_files[it->second.name];
    if (it->second.pos >= contents.size())
        return -1;
    return static_cast<uint8_t>(contents[it->second.pos++]);
}

bool CVirtualFiles::AtEnd(int32_t device) const
{
    auto it = m_open.find(device);
    if (it == m_open.end())
        return true;
    if (it->second.mode != kInput)
        return false;
    auto file = m_files.find(it->second.name);
    return file == m_files.end() || it->second.pos >= file->second.size();
}

} // namespace velsim
