// Semantic tokens: every word of a document classed by the compiler's
// scanner and the program's symbols.
#include "Features.h"

#include "lang/Keywords.h"

namespace velmo::ls {

using namespace velmo::lang;

namespace {

// The legend; a token's type is its index here.
constexpr const char *kTokenTypes[] = {"keyword", "type",   "function", "variable", "macro",
                                       "number",  "string", "comment",  "operator", "label"};
enum TokenType { kKeyword, kType, kFunction, kVariable, kMacro, kNumber, kString, kComment, kOperator, kLabel, kNone };

TokenType KeywordType(WordClass wordClass)
{
    switch (wordClass) {
    case WordClass::Type:
        return kType;
    case WordClass::Function:
    case WordClass::Format:
        return kFunction;
    case WordClass::Variable:
    case WordClass::Constant:
        return kVariable;
    case WordClass::Directive:
        return kMacro;
    case WordClass::Operator:
        return kOperator;
    default:
        return kKeyword;
    }
}

TokenType SymbolType(const CProgramIndex *program, const std::vector<LineToken> &tokens, size_t index)
{
    const std::vector<const SymbolDef *> found =
        program ? program->Find(tokens[index].text) : std::vector<const SymbolDef *>();
    if (found.empty())
        return IsLabelPlace(tokens, index) ? kLabel : kNone;
    if (found.front()->kind == SymbolKind::kMacro)
        return kMacro;
    return IsLabelPlace(tokens, index) ? kLabel : kVariable;
}

TokenType TypeOf(const CProgramIndex *program, const std::vector<LineToken> &tokens, size_t index)
{
    const LineToken &token = tokens[index];
    if (token.comment)
        return kComment;
    if (const KeywordInfo *keyword = CKeywords::Instance().Info(token.symbol))
        return KeywordType(keyword->wordClass);
    switch (token.symbol) {
    case symIdent:
        return SymbolType(program, tokens, index);
    case symInteger:
    case symFloat:
        return kNumber;
    case symString:
    case symEndOfLine:
        return kString;
    default:
        return kNone;
    }
}

} // namespace

Json SemanticTokenLegend()
{
    return {{"tokenTypes", kTokenTypes}, {"tokenModifiers", Json::array()}};
}

Json SemanticTokens(CWorkspace &workspace, const Json &params)
{
    const std::string path = DocumentPath(params);
    std::vector<int> data;
    std::string text;
    if (!workspace.Documents().Contents(path, text) || text.size() > kMaxCheckedDocumentBytes)
        return {{"data", data}};
    const CProgramIndex *program = workspace.ProgramOf(path);
    const std::vector<std::string> lines = SplitLines(text);
    int lastLine = 0;
    int lastColumn = 0;
    for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
        const std::vector<LineToken> tokens = ScanLine(lines[line]);
        for (size_t i = 0; i < tokens.size(); ++i) {
            const TokenType type = TypeOf(program, tokens, i);
            if (type == kNone)
                continue;
            const int column = Utf16Column(lines[line], static_cast<size_t>(tokens[i].start));
            const int length = Utf16Column(lines[line], static_cast<size_t>(tokens[i].end)) - column;
            data.insert(data.end(),
                        {line - lastLine, line == lastLine ? column - lastColumn : column, length, type, 0});
            lastLine = line;
            lastColumn = column;
        }
    }
    return {{"data", data}};
}

} // namespace velmo::ls
