// Variables, declarations, assignments and label references.
#include "Parser.h"

void CParser::Declaration() { NotCompiledYet(); }
void CParser::Assignment() { NotCompiledYet(); }
void CParser::IncDec(int /*token*/) { NotCompiledYet(); }
void CParser::VariableRef(CVarInfo& /*info*/, bool /*noArray*/) { NotCompiledYet(); }
void CParser::VariableList() { NotCompiledYet(); }
void CParser::StringVariable() { NotCompiledYet(); }
void CParser::LabelRef() { NotCompiledYet(); }
void CParser::LabelList() { NotCompiledYet(); }
