// Argument lists of the input/output, device and display statements. Their
// compile routines only check the shape of the list and write it; the shape
// of each statement is one row of the syntax table in lang/ArgumentSyntax.cpp.
#pragma once

#include "LanguageNames.h"

class CParser;

// Writes the token of the statement keyword that is the current symbol,
// reads the keyword and compiles the statement's arguments.
void CompileStatement(CParser &parser);

// Compiles the arguments of `statement`, whose keyword has been read.
void CompileArguments(CParser &parser, TSYMBOL statement);
