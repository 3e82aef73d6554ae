// Completion: the words that fit where the cursor stands.
#include "Features.h"

#include "Macros.h"
#include "Paths.h"

#include "lang/CompletionHints.h"

#include <filesystem>

namespace velmo::ls {

using namespace velmo::lang;

namespace {

// CompletionItemKind numbers of the protocol.
enum ItemKind {
    kText = 1,
    kFunction = 3,
    kVariable = 6,
    kKeyword = 14,
    kFile = 17,
    kReference = 18,
    kFolder = 19,
    kConstant = 21,
    kTypeParameter = 25,
};

// At most this many file names are offered after #INCLUDE ".
constexpr int kMaxFileItems = 500;

int KindOfHint(WordClass wordClass)
{
    switch (wordClass) {
    case WordClass::Function:
    case WordClass::Format:
        return kFunction;
    case WordClass::Variable:
        return kVariable;
    case WordClass::Constant:
        return kConstant;
    case WordClass::Type:
        return kTypeParameter;
    default:
        return kKeyword;
    }
}

Json Item(const std::string &label, int kind, const std::string &detail)
{
    return {{"label", label}, {"kind", kind}, {"detail", detail}};
}

// The part of a file name typed after `#INCLUDE "`, or false when the
// cursor is not inside that name.
bool IncludePrefix(const std::vector<LineToken> &tokens, const std::string &before, std::string &typed)
{
    if (tokens.empty() || tokens.front().symbol != symDirINCLUDE)
        return false;
    const size_t quote = before.find('"');
    if (quote == std::string::npos || before.find('"', quote + 1) != std::string::npos)
        return false;
    typed = before.substr(quote + 1);
    return true;
}

void AddFileNames(const std::string &documentPath, const std::string &typed, Json &items)
{
    const size_t slash = typed.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : typed.substr(0, slash + 1);
    const std::string directory = MakeFullPath(folder.empty() ? "." : folder, DirectoryOf(documentPath));
    std::error_code error;
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        const bool isFolder = entry.is_directory(error);
        if (name.empty() || name[0] == '.' || (!isFolder && !entry.is_regular_file(error)))
            continue;
        if (documentPath == entry.path().string() || ++count > kMaxFileItems)
            continue;
        items.push_back(Item(folder + name + (isFolder ? "/" : ""), isFolder ? kFolder : kFile, ""));
    }
}

// The tokens before the cursor name a label next (GOTO, GOSUB, RESTORE, ON ... GOTO a,).
bool LabelExpected(std::vector<LineToken> tokens, bool typingWord)
{
    if (!typingWord)
        tokens.push_back({0, 0, symIdent, false, "?"});
    return !tokens.empty() && tokens.size() > 1 && IsLabelPlace(tokens, tokens.size() - 1);
}

void AddProgramWords(const CProgramIndex *program, bool labels, Json &items)
{
    if (!program)
        return;
    for (const SymbolDef &symbol : program->Symbols()) {
        if ((symbol.kind == SymbolKind::kLabel) != labels)
            continue;
        const int kind = symbol.kind == SymbolKind::kLabel ? kReference
            : symbol.kind == SymbolKind::kMacro            ? kConstant
                                                           : kVariable;
        items.push_back(Item(symbol.name, kind, symbol.detail));
    }
}

void AddLanguageWords(Json &items)
{
    for (const Hint &hint : CompletionHints())
        items.push_back(Item(hint.insertText, KindOfHint(hint.kind), std::string(hint.insertText) + hint.hint));
    for (const OptionName &option : OptionNames())
        items.push_back(Item(option.name, kConstant, "predefined: " + std::to_string(option.value)));
}

} // namespace

Json Completion(CWorkspace &workspace, const Json &params)
{
    PointedWord word;
    Json items = Json::array();
    if (!PointedAt(params, workspace, word))
        return items;
    const std::string before = word.lineText.substr(0, static_cast<size_t>(word.place.byte));
    const std::vector<LineToken> tokens = ScanLine(before);
    std::string typed;
    if (IncludePrefix(tokens, before, typed)) {
        AddFileNames(word.place.path, typed, items);
        return items;
    }
    const bool typingWord = !tokens.empty() && tokens.back().end == word.place.byte && !tokens.back().text.empty();
    const CProgramIndex *program = workspace.ProgramOf(word.place.path);
    if (LabelExpected(tokens, typingWord)) {
        AddProgramWords(program, true, items);
        return items;
    }
    AddLanguageWords(items);
    AddProgramWords(program, false, items);
    return items;
}

} // namespace velmo::ls
