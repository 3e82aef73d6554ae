// The module's system variables and the functions of expressions. Token
// codes come from the keyword table; these tables add what the compiler and
// the simulator's image decoder need to know beyond that: suffixes,
// writability, argument shapes.
#pragma once

#include "lang/Symbols.h"

namespace velmo::lang {

// What may follow "." behind a system variable.
enum class Suffix { None, PortBit, Stepper, Time, Date };

struct SysVar {
    TSYMBOL first; // the keyword, or the first of a numbered family
    Suffix suffix;
    bool writable; // may begin an assignment statement
};

// The member keywords of one suffix and the message when none of them follows.
struct SuffixSet {
    Suffix suffix;
    TSYMBOL members[3];
    const char *message;
};

enum class ArgShape { One, Two, StringVar, Val, Pos, Usr };

struct BuiltinFunction {
    TSYMBOL symbol;
    ArgShape shape;
};

// The row of a keyword symbol (any member of a numbered family finds the
// family's row, by its token code), or nullptr when it is none of these.
const SysVar *FindSysVar(int symbol);
const SuffixSet *FindSuffixSet(Suffix suffix);
const BuiltinFunction *FindFunction(int symbol);

} // namespace velmo::lang
