// The words the editor's completion list offers: every directive, type,
// keyword, command, function, operator, constant and system variable of the
// Velmo language with the hint of its arguments. One table, read by the
// completion popup and by the programming manual's generator.
#pragma once

#include <vector>

enum class TCompletionKind { Type, Format, Keyword, Command, Function, Operator, Constant, Variable, Directive };

struct TCompletionItem {
    TCompletionKind kind;
    const char *insertText;
    const char *hint;
};

// The 139 items, in the order they are listed.
const std::vector<TCompletionItem> &CompletionItems();

// The name of a kind in the list's first column ("Keyword") and the name of
// the colour its words are drawn in ("clBlue", "clBlack", "clGray").
const char *CompletionKindName(TCompletionKind kind);
const char *CompletionKindColorName(TCompletionKind kind);
