// The compiler works in the language's names unqualified: the scanner's
// symbols, the keyword, built-in and argument syntax tables, the code pages,
// the character classes and the target profiles are lang/'s (velmo::lang).
#pragma once

#include "lang/ArgumentSyntax.h"
#include "lang/Builtins.h"
#include "lang/CharClass.h"
#include "lang/CodePage.h"
#include "lang/Keywords.h"
#include "lang/Symbols.h"
#include "lang/Target.h"

using namespace velmo::lang;
