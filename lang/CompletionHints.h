// The words the editor's completion list offers: every directive, type,
// keyword, command, function, operator, constant and system variable of the
// Velmo language with the hint of its arguments. One table, read by the
// completion list and by the programming manual's generator.
#pragma once

#include "lang/Keywords.h"

#include <vector>

namespace velmo::lang {

// One word of the list: its kind (the class of its keyword; a numbered
// family such as "Adc" has the class of its members), the text it inserts
// and the hint shown after it.
struct Hint {
    WordClass kind;
    const char *insertText;
    const char *hint;
};

// The 139 words, in the order the list shows them.
const std::vector<Hint> &CompletionHints();

} // namespace velmo::lang
