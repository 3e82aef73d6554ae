// Argument lists of the input/output, device and display statements. Their
// compile routines only check the shape of the list and write it; the shape
// of each statement is one row of the syntax table in StatementSyntax.cpp.
#pragma once

#include "Symbols.h"

class CParser;

// Writes the token of the statement keyword that is the current symbol,
// reads the keyword and compiles the statement's arguments.
void CompileStatement(CParser &parser);

// Compiles the arguments of `statement`, whose keyword has been read.
void CompileArguments(CParser &parser, TSYMBOL statement);

// The row of `statement` in the syntax table (its argument kinds, such as
// "e,e[,e]"), or nullptr for a statement compiled by a routine of its own.
// The programming manual prints its syntax lines from these rows.
const char *ArgumentSyntax(TSYMBOL statement);
// What an argument kind of a syntax row stands for, in the words of the
// manual ("expression", "[#device,]"); nullptr for ",", brackets and "!".
const char *ArgumentKindName(char kind);
