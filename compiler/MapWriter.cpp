#include "MapWriter.h"

#include "Compiler.h"
#include "Paths.h"
#include "Variables.h"

#include "lang/CodePage.h"

#include <algorithm>
#include <filesystem>

using velmo::lang::DebugMap;

namespace {

// Paths in the map are relative to the main file's folder, so the map stays
// true when the program's folder moves.
std::string RelativeToMain(const std::string &name, const std::string &mainFolder)
{
    const std::filesystem::path relative = std::filesystem::path(name).lexically_relative(mainFolder);
    return relative.empty() ? name : relative.generic_string();
}

void AddFiles(const CCompiler &compiler, DebugMap &map)
{
    const std::string folder = DirectoryOf(compiler.m_files.Name(0));
    for (int i = 0; i < compiler.m_files.Count(); ++i)
        map.files.push_back(RelativeToMain(compiler.m_files.Name(i), folder));
}

void AddVariables(const CVarList &vars, DebugMap &map)
{
    for (const CVar *var : vars.InDeclarationOrder()) {
        map.variables.push_back({velmo::lang::ShortVariableName(var->index), TypeInfo(var->type).name, var->length,
                                 velmo::lang::AnsiToUtf8(var->name)});
    }
}

void AddLabels(const CCompiler &compiler, DebugMap &map)
{
    for (const auto &[name, index] : compiler.m_labels)
        map.labels.push_back({index + 1, velmo::lang::AnsiToUtf8(name)});
    std::sort(map.labels.begin(), map.labels.end(),
              [](const auto &a, const auto &b) { return a.imageLine < b.imageLine; });
}

} // namespace

DebugMap BuildDebugMap(const CCompiler &compiler, const CSource &program, const CVarList &vars)
{
    DebugMap map;
    AddFiles(compiler, map);
    map.lines.reserve(static_cast<size_t>(program.Count()));
    for (int i = 0; i < program.Count(); ++i)
        map.lines.push_back({i + 1, program[i].m_fileIndex, program[i].m_lineNumber});
    AddVariables(vars, map);
    AddLabels(compiler, map);
    return map;
}
