// Definition, references, rename and the symbol lists.
#include "Features.h"

#include "Paths.h"

#include "lang/CharClass.h"
#include "lang/CodePage.h"

#include <algorithm>

namespace velmo::ls {

using namespace velmo::lang;

namespace {

Json SymbolLocation(const CWorkspace &workspace, const SymbolDef &symbol)
{
    const std::vector<std::string> lines = workspace.Lines(symbol.path);
    const std::string text = symbol.line < static_cast<int>(lines.size()) ? lines[symbol.line] : std::string();
    const auto [start, end] = NameRange(text, symbol.name);
    return MakeLocation(symbol.path, text, symbol.line, start, end);
}

// The file an #INCLUDE line names, when the word is that line's file name.
std::string IncludedFile(CWorkspace &workspace, const PointedWord &word)
{
    if (word.tokens.empty() || word.tokens.front().symbol != symDirINCLUDE || !word.token ||
        word.token == &word.tokens.front())
        return {};
    if (const CProgramIndex *program = workspace.ProgramOf(word.place.path)) {
        for (const IncludeLine &include : program->Includes()) {
            if (include.path == word.place.path && include.line == word.place.line)
                return include.included;
        }
    }
    const size_t open = word.lineText.find('"');
    const size_t close = word.lineText.find('"', open + 1);
    if (open == std::string::npos || close == std::string::npos)
        return {};
    const std::string name = word.lineText.substr(open + 1, close - open - 1);
    return MakeFullPath(AddDefaultExtension(name, ".bas"), DirectoryOf(word.place.path));
}

// Every word of the program's files that names the symbol.
template <typename Visit>
void ForEachUse(CWorkspace &workspace, const CProgramIndex &program, const SymbolDef &symbol, Visit visit)
{
    for (const std::string &path : program.Files()) {
        const std::vector<std::string> lines = workspace.Lines(path);
        for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
            if (lines[line].empty())
                continue;
            for (const LineToken &token : ScanLine(lines[line])) {
                if (token.symbol == symIdent && EqualNoCase(token.text, symbol.name))
                    visit(path, lines[line], line, token);
            }
        }
    }
}

// The symbol a request points at, with its program; false when none.
bool PointedSymbol(CWorkspace &workspace, const Json &params, const SymbolDef *&symbol, const CProgramIndex *&program)
{
    PointedWord word;
    if (!PointedAt(params, workspace, word))
        return false;
    const std::vector<const SymbolDef *> found = workspace.Resolve(word);
    program = workspace.ProgramOf(word.place.path);
    symbol = found.empty() ? nullptr : found.front();
    return symbol && program;
}

void CheckNewName(const CProgramIndex &program, const SymbolDef &symbol, const std::string &name)
{
    if (name.empty() || !IsWordStart(name[0]) || !std::all_of(name.begin(), name.end(), IsWordChar))
        throw RequestError{kRequestFailed, "'" + name + "' is not a valid name."};
    if (!IsValidName(name))
        throw RequestError{kRequestFailed, "'" + name + "' is a keyword."};
    for (const SymbolDef *other : program.Find(name)) {
        if (other != &symbol)
            throw RequestError{kRequestFailed, "'" + name + "' is already declared (" + other->detail + ")."};
    }
}

Json SymbolInformation(const CWorkspace &workspace, const SymbolDef &symbol)
{
    return {{"name", symbol.name},
            {"kind", ProtocolSymbolKind(symbol.kind)},
            {"location", SymbolLocation(workspace, symbol)}};
}

} // namespace

Json Definition(CWorkspace &workspace, const Json &params)
{
    PointedWord word;
    if (!PointedAt(params, workspace, word))
        return nullptr;
    const std::string included = IncludedFile(workspace, word);
    if (!included.empty())
        return MakeLocation(included, "", 0, 0, 0);
    const std::vector<const SymbolDef *> found = workspace.Resolve(word);
    return found.empty() ? Json(nullptr) : SymbolLocation(workspace, *found.front());
}

Json References(CWorkspace &workspace, const Json &params)
{
    const SymbolDef *symbol = nullptr;
    const CProgramIndex *program = nullptr;
    Json locations = Json::array();
    if (!PointedSymbol(workspace, params, symbol, program))
        return locations;
    ForEachUse(workspace, *program, *symbol,
               [&](const std::string &path, const std::string &text, int line, const LineToken &token) {
                   locations.push_back(MakeLocation(path, text, line, token.start, token.end));
               });
    return locations;
}

Json Rename(CWorkspace &workspace, const Json &params)
{
    const SymbolDef *symbol = nullptr;
    const CProgramIndex *program = nullptr;
    if (!PointedSymbol(workspace, params, symbol, program))
        throw RequestError{kRequestFailed, "No variable, label or macro to rename here."};
    const auto newName = params.find("newName");
    if (newName == params.end() || !newName->is_string())
        throw RequestError{kInvalidParams, "newName expected."};
    const std::string name = newName->get<std::string>();
    CheckNewName(*program, *symbol, name);
    Json changes = Json::object();
    ForEachUse(workspace, *program, *symbol,
               [&](const std::string &path, const std::string &text, int line, const LineToken &token) {
                   changes[PathToUri(path)].push_back(
                       {{"range", MakeRange(text, line, token.start, token.end)}, {"newText", name}});
               });
    return {{"changes", changes}};
}

Json DocumentSymbols(CWorkspace &workspace, const Json &params)
{
    const std::string path = DocumentPath(params);
    Json symbols = Json::array();
    const CProgramIndex *program = workspace.ProgramOf(path);
    if (!program)
        return symbols;
    for (const SymbolDef &symbol : program->Symbols()) {
        if (symbol.path == path)
            symbols.push_back(SymbolInformation(workspace, symbol));
    }
    return symbols;
}

Json WorkspaceSymbols(CWorkspace &workspace, const Json &params)
{
    const auto query = params.is_object() ? params.find("query") : params.end();
    std::string wanted = query != params.end() && query->is_string() ? query->get<std::string>() : "";
    auto upper = [](std::string text) {
        for (char &c : text)
            c = UpperAscii(c);
        return text;
    };
    wanted = upper(wanted);
    Json symbols = Json::array();
    for (const CProgramIndex &program : workspace.Programs()) {
        for (const SymbolDef &symbol : program.Symbols()) {
            if (upper(symbol.name).find(wanted) != std::string::npos)
                symbols.push_back(SymbolInformation(workspace, symbol));
        }
    }
    return symbols;
}

} // namespace velmo::ls
