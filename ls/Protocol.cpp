#include "Protocol.h"

#include "Paths.h"

#include "lang/CharClass.h"

namespace velmo::ls {

namespace {

// SymbolKind numbers of the protocol.
constexpr int kVariableKind = 13;
constexpr int kKeyKind = 20; // labels: a place to jump to
constexpr int kConstantKind = 14; // macros

const Json *Member(const Json &object, const char *name)
{
    if (!object.is_object())
        return nullptr;
    const auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

} // namespace

std::string DocumentPath(const Json &params)
{
    const Json *document = Member(params, "textDocument");
    const Json *uri = document ? Member(*document, "uri") : nullptr;
    const std::string path = uri && uri->is_string() ? UriToPath(uri->get<std::string>()) : std::string();
    // The form in which the compiler names its include files.
    return path.empty() ? path : MakeFullPath(path);
}

bool ReadPlace(const Json &params, const CWorkspace &workspace, TextPlace &place)
{
    const Json *position = Member(params, "position");
    const Json *line = position ? Member(*position, "line") : nullptr;
    const Json *character = position ? Member(*position, "character") : nullptr;
    place.path = DocumentPath(params);
    if (place.path.empty() || !line || !character || !line->is_number_integer() || !character->is_number_integer())
        return false;
    const long long lineNumber = line->get<long long>();
    const long long column = character->get<long long>();
    const std::vector<std::string> lines = workspace.Lines(place.path);
    if (lineNumber < 0 || column < 0 || lineNumber >= static_cast<long long>(lines.size()) || column > 1 << 24)
        return false;
    place.line = static_cast<int>(lineNumber);
    place.byte = static_cast<int>(ByteIndex(lines[place.line], static_cast<int>(column)));
    return true;
}

bool PointedAt(const Json &params, const CWorkspace &workspace, PointedWord &word)
{
    TextPlace place;
    return ReadPlace(params, workspace, place) && workspace.Point(place, word);
}

Json MakeRange(const std::string &lineText, int line, int startByte, int endByte)
{
    return {{"start", {{"line", line}, {"character", Utf16Column(lineText, static_cast<size_t>(startByte))}}},
            {"end", {{"line", line}, {"character", Utf16Column(lineText, static_cast<size_t>(endByte))}}}};
}

Json MakeLocation(const std::string &path, const std::string &lineText, int line, int startByte, int endByte)
{
    return {{"uri", PathToUri(path)}, {"range", MakeRange(lineText, line, startByte, endByte)}};
}

std::pair<int, int> NameRange(const std::string &lineText, const std::string &name)
{
    for (const LineToken &token : ScanLine(lineText)) {
        if (!token.text.empty() && velmo::lang::EqualNoCase(token.text, name))
            return {token.start, token.end};
    }
    const size_t first = lineText.find_first_not_of(" \t");
    return {first == std::string::npos ? 0 : static_cast<int>(first), static_cast<int>(lineText.size())};
}

int ProtocolSymbolKind(SymbolKind kind)
{
    switch (kind) {
    case SymbolKind::kLabel:
        return kKeyKind;
    case SymbolKind::kMacro:
        return kConstantKind;
    default:
        return kVariableKind;
    }
}

} // namespace velmo::ls
