// Hover: what the word under the cursor is.
#include "Features.h"

#include "KeywordHelp.h"
#include "Macros.h"

#include "lang/CharClass.h"

namespace velmo::ls {

using namespace velmo::lang;

namespace {

std::string FileName(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CodeBlock(const std::string &text)
{
    return "```velmo\n" + text + "\n```";
}

std::string KeywordText(const KeywordInfo &keyword)
{
    const std::string description = ManualDescription(keyword.name);
    return CodeBlock(SyntaxLine(keyword)) + (description.empty() ? "" : "\n\n" + description);
}

std::string SymbolText(const SymbolDef &symbol)
{
    const char *what = symbol.kind == SymbolKind::kLabel ? "Label"
        : symbol.kind == SymbolKind::kMacro              ? "Macro"
                                                         : "Variable";
    return CodeBlock(symbol.detail) + "\n\n" + what + ", " + FileName(symbol.path) + " line " +
        std::to_string(symbol.line + 1);
}

std::string OptionText(const std::string &word)
{
    for (const OptionName &option : OptionNames()) {
        if (EqualNoCase(option.name, word))
            return CodeBlock(std::string(option.name) + " = " + std::to_string(option.value)) + "\n\nPredefined name";
    }
    return {};
}

} // namespace

Json Hover(CWorkspace &workspace, const Json &params)
{
    PointedWord word;
    if (!PointedAt(params, workspace, word) || !word.token)
        return nullptr;
    std::string text;
    if (const KeywordInfo *keyword = CKeywords::Instance().Info(word.token->symbol)) {
        text = KeywordText(*keyword);
    } else if (word.token->symbol == symIdent) {
        const std::vector<const SymbolDef *> found = workspace.Resolve(word);
        text = found.empty() ? OptionText(word.token->text) : SymbolText(*found.front());
    }
    if (text.empty())
        return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", text}}},
            {"range", MakeRange(word.lineText, word.place.line, word.token->start, word.token->end)}};
}

} // namespace velmo::ls
