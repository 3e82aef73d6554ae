// What the server says about a keyword: its syntax line (from the syntax
// table of the statements, or from the completion list's hint) and the
// manual's one-line description of it.
#pragma once

#include "lang/Keywords.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmo::ls {

// "SOUND expression [, expression]", "FOR..to..{step..}next", "MIN(a,b)".
std::string SyntaxLine(const velmo::lang::KeywordInfo &keyword);

// The arguments of a statement or function, one per entry, as its syntax
// names them; empty for a keyword without arguments.
std::vector<std::string> SyntaxArguments(const velmo::lang::KeywordInfo &keyword);

// The first sentence after each {{entry ...}} of the manual's chapters, by
// upper-case keyword. Every keyword an entry names gets its sentence.
std::map<std::string, std::string> EntryDescriptions(std::string_view manualMarkdown);

// The description of a keyword in the manual built into the server; "" when
// the manual has none.
std::string ManualDescription(const std::string &upperKeyword);

// The manual's chapters, built into the server (generated at build time).
std::string_view ManualChapters();

} // namespace velmo::ls
