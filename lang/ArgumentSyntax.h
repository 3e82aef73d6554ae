// The argument lists of the input/output, device and display statements, as
// rows of argument kinds such as "e,e[,e]" (the kinds are listed in
// lang/ArgumentSyntax.cpp).
#pragma once

#include "lang/Symbols.h"

namespace velmo::lang {

// The row of `statement` in the syntax table, or nullptr for a statement
// with a syntax of its own (IF, FOR, PRINT, ...).
const char *ArgumentSyntax(TSYMBOL statement);
// What an argument kind of a syntax row stands for, in the words of the
// manual ("expression", "[#device,]"); nullptr for ",", brackets and "!".
const char *ArgumentKindName(char kind);

} // namespace velmo::lang
