// The words the editor's completion list offers, with their kinds' names and
// colours. The words and hints are the language's table (lang/CompletionHints.h).
#pragma once

#include "lang/CompletionHints.h"

#include <vector>

using TCompletionKind = velmo::lang::WordClass;
using TCompletionItem = velmo::lang::Hint;

// The 139 items, in the order they are listed.
const std::vector<TCompletionItem> &CompletionItems();

// The name of a kind in the list's first column ("Keyword") and the name of
// the colour its words are drawn in ("clBlue", "clBlack", "clGray").
const char *CompletionKindName(TCompletionKind kind);
const char *CompletionKindColorName(TCompletionKind kind);
