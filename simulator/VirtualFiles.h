// The module's file store as machine state: files live in memory for as long
// as the simulator runs (they survive a reset, like a module's flash), and
// all of them together hold at most kCapacity bytes.
#pragma once

#include "Trace.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace velsim {

class CVirtualFiles {
public:
    static constexpr size_t kCapacity = 64 * 1024;
    static constexpr size_t kMaxOpen = 8;
    static constexpr size_t kMaxFiles = 64;

    enum Mode { kInput = 0, kOutput = 1, kAppend = 2 };

    explicit CVirtualFiles(CTrace &trace);

    // False when the file cannot be opened: missing for input, an unknown
    // mode, too many files open, or no room for another file.
    bool Open(int32_t device, const std::string &name, int32_t mode);
    bool IsOpen(int32_t device) const
    {
        return m_open.count(device) != 0;
    }
    void Close(int32_t device);
    void CloseAll();

    // False when the device is not open for writing or the store is full
    // (what fits is written).
    bool Write(int32_t device, std::string_view bytes);
    int Read(int32_t device); // -1 at the end of the file
    bool AtEnd(int32_t device) const;
    // The column the next byte written to the device lands in: 0 after a line
    // end, counted on from where the previous PRINT # left the line. TAB
    // measures from it, as it measures from the serial line's own column.
    int64_t Column(int32_t device) const;

    size_t Used() const;

private:
    struct Handle {
        std::string name;
        Mode mode = kInput;
        size_t pos = 0;
        int64_t column = 0;
    };

    static int64_t ColumnAfter(int64_t column, std::string_view bytes);

    CTrace &m_trace;
    std::map<std::string, std::string> m_files;
    std::map<int32_t, Handle> m_open;
};

} // namespace velsim
