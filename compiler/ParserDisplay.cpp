// CLS, MOVE, FONT, COLOR and the graphics statements. Their argument lists
// are rows of the syntax table (StatementSyntax.cpp).
#include "Code.h"
#include "LanguageNames.h"
#include "Parser.h"
#include "StatementSyntax.h"

// CLS
void CParser::ClsStatement()
{
    CompileStatement(*this);
}
// MOVE xpos, ypos
void CParser::MoveStatement()
{
    CompileStatement(*this);
}
// FONT size
void CParser::FontStatement()
{
    CompileStatement(*this);
}
// COLOR pen [, paper]
void CParser::ColorStatement()
{
    CompileStatement(*this);
}

// PLOT x, y                          sub-code 0
// DRAW x, y [, style]                1
// FRAME x, y, w, h [, fill]          2
// SCROLL x, y, w, h, dx [, dy]       3
// CIRCLE x, y, rx [, ry [, fill]]    4
// PICTURE x, y, picture [, mode]     5
// BARGRAPH x, y, w, h, value [, mode] 6
// All share the token GRAFIX, followed by the sub-code and ",":
// PLOT 10, 20 is written as GRAFIX 0,10,20.
void CParser::GraphicsStatement(int subCode)
{
    const TSYMBOL statement = Symbol();
    m_code.EmitToken(KeywordToken(statement), subCode);
    m_code.EmitByte(',');
    NextSymbol();
    CompileArguments(*this, statement);
}
