// Builds the line map (lang/DebugMap.h) of a compiled program: the source
// place of every program line, the variables with their names as written,
// the labels and the files read.
#pragma once

#include "lang/DebugMap.h"

class CCompiler;
class CSource;
class CVarList;

velmo::lang::DebugMap BuildDebugMap(const CCompiler &compiler, const CSource &program, const CVarList &vars);
