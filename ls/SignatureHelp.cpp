// Signature help: the arguments of the statement or function being typed.
#include "Features.h"

#include "lang/Keywords.h"

#include "KeywordHelp.h"

namespace velmo::ls {

using namespace velmo::lang;

namespace {

struct Call {
    const KeywordInfo *keyword = nullptr;
    int argument = 0; // commas passed since the keyword (at its level)
};

// Walks back from the cursor: an open "(" after a keyword is a function
// call; otherwise the statement is the first word after the last ":",
// THEN or ELSE at the outer level.
Call FindCall(const std::vector<LineToken> &tokens)
{
    Call call;
    int depth = 0;
    int commas = 0;
    for (size_t i = tokens.size(); i-- > 0;) {
        const TSYMBOL symbol = tokens[i].symbol;
        if (symbol == symRParen) {
            ++depth;
        } else if (symbol == symLParen && depth > 0) {
            --depth;
        } else if (symbol == symLParen) {
            const KeywordInfo *function = i > 0 ? CKeywords::Instance().Info(tokens[i - 1].symbol) : nullptr;
            if (function)
                return {function, commas};
            commas = 0; // an array index or a grouping: its commas are not ours
        } else if (symbol == symComma && depth == 0) {
            ++commas;
        } else if (depth == 0 && (symbol == symColon || symbol == symTHEN || symbol == symELSE)) {
            return call;
        } else if (depth == 0) {
            const KeywordInfo *keyword = CKeywords::Instance().Info(symbol);
            const bool startsStatement = i == 0 || tokens[i - 1].symbol == symColon ||
                tokens[i - 1].symbol == symTHEN || tokens[i - 1].symbol == symELSE;
            if (keyword && startsStatement && !SyntaxArguments(*keyword).empty())
                return {keyword, commas};
        }
    }
    return call;
}

} // namespace

Json SignatureHelp(CWorkspace &workspace, const Json &params)
{
    PointedWord word;
    if (!PointedAt(params, workspace, word))
        return nullptr;
    const Call call = FindCall(ScanLine(word.lineText.substr(0, static_cast<size_t>(word.place.byte))));
    if (!call.keyword)
        return nullptr;
    Json parameters = Json::array();
    const std::vector<std::string> arguments = SyntaxArguments(*call.keyword);
    for (const std::string &argument : arguments)
        parameters.push_back({{"label", argument}});
    const int last = static_cast<int>(arguments.size()) - 1;
    const int active = call.argument < last ? call.argument : last;
    return {{"signatures", Json::array({{{"label", SyntaxLine(*call.keyword)}, {"parameters", parameters}}})},
            {"activeSignature", 0},
            {"activeParameter", active}};
}

} // namespace velmo::ls
