// The dispatch table of the statement compiler.
#pragma once

class CParser;

using StatementRoutine = void (*)(CParser &parser, bool conditional);

// The routine that compiles a statement beginning with `symbol`, or nullptr
// when no statement begins with it.
StatementRoutine StatementFor(int symbol);
