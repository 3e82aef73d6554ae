// The line map beside a program image (lang/DebugMap.h) with the sources it
// names: turns image lines into source places and short variable names into
// the names the user wrote.
#pragma once

#include "lang/DebugMap.h"

#include <map>
#include <string>
#include <vector>

namespace velsim {

struct SourcePlace {
    int file = -1; // index in the map's files, -1 when unknown
    int line = 0; // 1-based line of that file
};

class CSourceMap {
public:
    // Reads the map beside the image; false with the reason when there is
    // none or it cannot be read.
    bool LoadBeside(const std::string &imagePath, std::string &error);
    // Takes a map already read; sources are looked for in `folder`.
    void Set(velmo::lang::DebugMap map, std::string folder);

    bool Loaded() const
    {
        return m_loaded;
    }
    const velmo::lang::DebugMap &Map() const
    {
        return m_map;
    }

    SourcePlace PlaceOf(int imageLine) const;
    // The source file's path as found beside the map ("" for an unknown file).
    std::string SourcePath(int file) const;
    // The source line's text without leading blanks ("" when unreadable).
    std::string LineText(const SourcePlace &place) const;
    // The variable number of the image for a map variable (its short name).
    static int VariableNumber(const velmo::lang::MapVariable &var);
    // The map's variables whose names occur as words in the text.
    std::vector<const velmo::lang::MapVariable *> VariablesIn(const std::string &text) const;

private:
    const std::vector<std::string> &Lines(int file) const;

    velmo::lang::DebugMap m_map;
    std::string m_folder;
    bool m_loaded = false;
    mutable std::map<int, std::vector<std::string>> m_sources; // read on first use
};

} // namespace velsim
