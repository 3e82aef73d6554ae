// The module's system variables and the functions of expressions. Token
// codes come from the keyword table; these tables add what the expression
// compiler needs to know beyond that: suffixes, writability, argument shapes.
#pragma once

#include "LanguageNames.h"

// What may follow "." behind a system variable.
enum class Suffix { None, PortBit, Stepper, Time, Date };

struct SysVar {
    TSYMBOL first; // the keyword, or the first of a numbered family
    TSYMBOL last; // the same, or the last of the family
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

struct Function {
    TSYMBOL symbol;
    ArgShape shape;
};

// The row of a keyword symbol, or nullptr when it is none of these.
const SysVar *FindSysVar(int symbol);
const SuffixSet *FindSuffixSet(Suffix suffix);
const Function *FindFunction(int symbol);
