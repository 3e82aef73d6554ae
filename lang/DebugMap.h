// The line map velc writes beside the program image (<name>.map): where each
// image line comes from in the sources, and what the short variable names of
// the image stand for. The compiler writes it with FormatDebugMap, the
// simulator and the workbench read it with ParseDebugMap.
//
// The file is UTF-8 text, one record per line, fields separated by one
// blank; a name that may hold blanks is always the last field:
//   VELMO-MAP 1                          first line: format and version
//   file <index> <path>                  a source file; 0 is the main file, paths
//                                        relative to the main file's folder
//   line <image line> <file> <line>      an image line and its source line
//   var <short> <type> <length> <name>   a variable: image name, type (char,
//                                        byte, word, integer, long, float),
//                                        array length (0: plain), name as written
//   label <image line> <name>            a label and the image line it marks
// Lines starting with "#" are comments; unknown record words are skipped, so
// a later version may add records without breaking older readers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmo::lang {

constexpr int kDebugMapVersion = 1;

struct MapLine {
    int imageLine = 0;
    int file = 0;
    int sourceLine = 0;
};

struct MapVariable {
    std::string shortName; // "a", "b", ... "aa": as in the image
    std::string type; // "char" .. "float"
    int length = 0; // 0 for a plain variable
    std::string name; // as written in the declaration
};

struct MapLabel {
    int imageLine = 0;
    std::string name;
};

struct DebugMap {
    std::vector<std::string> files; // index 0: the main file
    std::vector<MapLine> lines; // in image order
    std::vector<MapVariable> variables; // in declaration order
    std::vector<MapLabel> labels;

    // The record of an image line, nullptr when the map has none.
    const MapLine *LineOf(int imageLine) const;
    // The first image line at or after the source line of that file, nullptr
    // when there is none in that file.
    const MapLine *FirstLineAtOrAfter(int file, int sourceLine) const;
    // Index of a file by its relative path, -1 when absent.
    int FileIndex(std::string_view path) const;
    // The variable of a source name (any letter case), nullptr when absent.
    const MapVariable *FindVariable(std::string_view name) const;
};

std::string FormatDebugMap(const DebugMap &map);

// False with a reason (naming the record's line) when the text is not a map
// of a version this reader knows.
bool ParseDebugMap(std::string_view text, DebugMap &map, std::string &error);

// The image name of the variable declared at this position: "a" .. "z",
// then "aa", "ab", ...; and back (-1 for a name that is none).
std::string ShortVariableName(int index);
int ShortVariableIndex(std::string_view name);

// The map beside a program image or a source: the same name with ".map".
std::string MapPathOf(const std::string &path);

} // namespace velmo::lang
