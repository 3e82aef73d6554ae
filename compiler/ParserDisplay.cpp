// CLS, MOVE, FONT, COLOR and the graphics statements (token 0xAD and a sub-code).
#include "Parser.h"

void CParser::ClsStatement() { NotCompiledYet(); }
void CParser::MoveStatement() { NotCompiledYet(); }
void CParser::FontStatement() { NotCompiledYet(); }
void CParser::ColorStatement() { NotCompiledYet(); }
void CParser::GraphicsStatement(int /*subCode*/) { NotCompiledYet(); }
