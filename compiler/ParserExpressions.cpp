// Expressions and system variables.
#include "Parser.h"

void CParser::Condition() { NotCompiledYet(); }
void CParser::Expression() { NotCompiledYet(); }
void CParser::Term(CVarInfo& /*info*/) { NotCompiledYet(); }
void CParser::Factor(CVarInfo& /*info*/) { NotCompiledYet(); }
void CParser::SysVarAssignment() { NotCompiledYet(); }
