#include "CompletionItems.h"

namespace {

struct TKindInfo {
    const char *name;
    const char *colorName;
};

// Per kind: the name in the first column and the colour of the word.
const TKindInfo kKinds[] = {
    {"Type", "clBlue"},      {"Format", "clBlue"},    {"Keyword", "clBlue"},  {"Command", "clBlue"},
    {"Function", "clBlack"}, {"Operator", "clBlue"},  {"Constant", "clBlue"}, {"Variable", "clBlack"},
    {"Directive", "clGray"}, {"FileMode", "clBlack"},
};

} // namespace

const std::vector<TCompletionItem> &CompletionItems()
{
    return velmo::lang::CompletionHints();
}

const char *CompletionKindName(TCompletionKind kind)
{
    return kKinds[static_cast<int>(kind)].name;
}

const char *CompletionKindColorName(TCompletionKind kind)
{
    return kKinds[static_cast<int>(kind)].colorName;
}
