// The syntax table of the input/output, device and display statements and
// the small interpreter that compiles an argument list from it.
#include "StatementSyntax.h"

#include "Code.h"
#include "Keywords.h"
#include "Parser.h"

#include <string_view>

namespace {

// Argument kinds of a syntax string:
//   e  expression              c  condition (one relation at most)
//   v  variable reference      V  variable list "v, v, ..."
//   S  string variable         l  label
//   s  string constant; otherwise "String constant expected." and the
//      symbol is skipped (with "!": nothing is skipped and the statement ends)
//   a  string constant or string variable
//   x  string constant or expression (DATA)
//   i  print item
//   p  optional prompt: a string constant and ","
//   o  optional expression: left out when a "," follows at once
//   d  optional device "#e,"   D  optional device "#e"
//   ,  required ","; missing: ", expected." (with "!": the statement ends)
//   [...]  optional part, compiled when the current symbol is ","
//   {...}  part repeated while the current symbol is ","
struct Syntax {
    TSYMBOL statement;
    const char *arguments;
};

// clang-format off
constexpr Syntax kSyntax[] = {
  {symDATA,       "x{,x}"},          // const, ...
  {symREAD,       "V"},              // var, ...
  {symRESTORE,    "l"},              // label
  {symLOAD,       "e,V"},            // addr, var, ...
  {symSTORE,      "e,V"},            // addr, var, ...
  {symWAIT,       "c[,e[,l]]"},      // cond, timeout, label
  {symCLOSE,      "D"},              // device
  {symFLUSH,      "D"},              // device
  {symINPUT,      "dpV"},            // device, text, var, ...
  {symPUT,        "de[,e]"},         // device, expr or var, count
  {symGET,        "dv[,e[,e]]"},     // device, var, count
  {symFIND,       "ds[,e[,l]]"},     // device, string, timeout, label
  {symPOKE,       "e,e"},            // addr, expr
  {symSEND,       "e,V"},            // msg, var, ...
  {symRECV,       "V"},              // var, ...
  {symI2CIN,      "e,o,V"},          // chip, addr, var, ...
  {symI2COUT,     "e,e[,V]"},        // chip, addr, var, ...
  {symSPISHIFT,   "e,e,V"},          // mode, direction, var, ...
  {symINITGSM,    "de[,s![,e]]"},    // device, pin, initstr, timeout
  {symSENDSMS,    "da,!i{,i}"},      // device, phone, expr, ...
  {symRECVSMS,    "dS,S"},           // device, phone, text
  {symSTANDBY,    ""},
  {symSOUND,      "e[,e]"},          // frequency, duration
  {symPAUSE,      "e"},              // milliseconds
  {symSETCOM,     "e,e"},            // channel, baudrate
  {symSETPWM,     "e,e,e"},          // channel, divider, period
  {symSETPORT,    "e,e[,e]"},        // port, config, pull-up
  {symSETDRIVE,   "e"},              // drive
  {symSETCLOCK,   "e"},              // mode
  {symSETKEYPAD,  "e"},              // keypad
  {symSETSYMBOL,  "e{,e}"},          // char, data, ...
  {symSETCOUNTER, "e[,e]"},          // channel, mode
  {symSETDISPLAY, "e[,e]"},          // type, interface
  {symSETNETWORK, "e[,e]"},          // kind, baudrate
  {symSETSTEPPER, "e,e"},            // motor, mode
  {symCLS,        ""},
  {symMOVE,       "e,e"},            // xpos, ypos
  {symFONT,       "e"},              // size
  {symCOLOR,      "e[,e]"},          // pen, paper
  {symPLOT,       "e,e"},            // xpos, ypos
  {symDRAW,       "e,e[,e]"},        // xpos, ypos, style
  {symFRAME,      "e,e,e,e[,e]"},    // xpos, ypos, xrec, yrec, fillcolor
  {symSCROLL,     "e,e,e,e,e[,e]"},  // xpos, ypos, xrec, yrec, xstep, ystep
  {symCIRCLE,     "e,e,e[,e[,e]]"},  // xpos, ypos, xrad, yrad, fillcolor
  {symPICTURE,    "e,e,e[,e]"},      // xpos, ypos, picture, mode
  {symBARGRAPH,   "e,e,e,e,e[,e]"},  // xpos, ypos, xbar, ybar, value, mode
};
// clang-format on

// The argument kinds above in words, for the manual's syntax lines.
struct KindName {
    char kind;
    const char *name;
};

// clang-format off
constexpr KindName kKindNames[] = {
  {'e', "expression"},          {'c', "condition"},
  {'v', "variable"},            {'V', "variable [, variable] ..."},
  {'S', "string-variable"},     {'l', "label"},
  {'s', "\"text\""},            {'a', "\"text\" | string-variable"},
  {'x', "constant | \"text\""}, {'i', "item"},
  {'p', "[\"prompt\",]"},       {'o', "[expression]"},
  {'d', "[#device,]"},          {'D', "[#device]"},
};
// clang-format on

constexpr char kStringExpected[] = "String constant expected.";

std::string_view SyntaxOf(TSYMBOL statement)
{
    const char *arguments = ArgumentSyntax(statement);
    return arguments ? arguments : "";
}

// Compiles one syntax string. Every routine returns false when the
// statement has to end at once.
class CArgumentCompiler {
public:
    CArgumentCompiler(CParser &parser, std::string_view syntax)
        : m_parser(parser)
        , m_syntax(syntax)
    {
    }

    void Run()
    {
        size_t pos = 0;
        Sequence(pos);
    }

private:
    CParser &m_parser;
    std::string_view m_syntax;

    bool Sequence(size_t &pos);
    bool Element(size_t &pos);
    bool Group(size_t &pos, bool repeat);
    size_t GroupEnd(size_t pos) const;
    bool Argument(char kind, bool stop);
    bool Comma(bool stop);
    bool StringConstant(bool stop);
    void StringOrExpression();
    void Prompt();
    bool At(TSYMBOL symbol) const
    {
        return m_parser.Symbol() == symbol;
    }
};

// Elements up to the end of the syntax or of the enclosing group.
bool CArgumentCompiler::Sequence(size_t &pos)
{
    while (pos < m_syntax.size() && m_syntax[pos] != ']' && m_syntax[pos] != '}') {
        if (!Element(pos))
            return false;
    }
    return true;
}

bool CArgumentCompiler::Element(size_t &pos)
{
    const char kind = m_syntax[pos++];
    if (kind == '[' || kind == '{')
        return Group(pos, kind == '{');
    const bool stop = pos < m_syntax.size() && m_syntax[pos] == '!';
    if (stop)
        ++pos;
    return Argument(kind, stop);
}

// An optional or repeated part; it always begins with ",".
bool CArgumentCompiler::Group(size_t &pos, bool repeat)
{
    const size_t end = GroupEnd(pos);
    bool going = true;
    for (bool first = true; going && At(symComma) && (first || repeat); first = false) {
        size_t inner = pos;
        going = Sequence(inner);
    }
    pos = end + 1;
    return going;
}

// Index of the bracket that closes the group starting at pos.
size_t CArgumentCompiler::GroupEnd(size_t pos) const
{
    for (int depth = 0; pos < m_syntax.size(); ++pos) {
        const char c = m_syntax[pos];
        if (c == '[' || c == '{')
            ++depth;
        if ((c == ']' || c == '}') && depth-- == 0)
            return pos;
    }
    return pos;
}

bool CArgumentCompiler::Argument(char kind, bool stop)
{
    CVarInfo info;
    switch (kind) {
    case ',':
        return Comma(stop);
    case 's':
        return StringConstant(stop);
    case 'e':
        m_parser.Expression();
        break;
    case 'c':
        m_parser.Condition();
        break;
    case 'v':
        m_parser.VariableRef(info, false);
        break;
    case 'V':
        m_parser.VariableList();
        break;
    case 'S':
        m_parser.StringVariable();
        break;
    case 'l':
        m_parser.LabelRef();
        break;
    case 'a':
        m_parser.StringArgument();
        break;
    case 'i':
        m_parser.PrintItem();
        break;
    case 'x':
        StringOrExpression();
        break;
    case 'p':
        Prompt();
        break;
    case 'o':
        if (!At(symComma))
            m_parser.Expression();
        break;
    case 'd':
        m_parser.Device(true);
        break;
    case 'D':
        m_parser.Device(false);
        break;
    default:
        break;
    }
    return true;
}

bool CArgumentCompiler::Comma(bool stop)
{
    const bool found = At(symComma);
    m_parser.Expect(symComma, ',');
    return found || !stop;
}

bool CArgumentCompiler::StringConstant(bool stop)
{
    if (At(symString)) {
        m_parser.m_code.EmitString(m_parser.m_scan.m_text);
        m_parser.NextSymbol();
        return true;
    }
    m_parser.Error(kStringExpected);
    if (stop)
        return false;
    m_parser.NextSymbol();
    return true;
}

void CArgumentCompiler::StringOrExpression()
{
    if (!At(symString)) {
        m_parser.Expression();
        return;
    }
    m_parser.m_code.EmitString(m_parser.m_scan.m_text);
    m_parser.NextSymbol();
}

void CArgumentCompiler::Prompt()
{
    if (!At(symString))
        return;
    m_parser.m_code.EmitString(m_parser.m_scan.m_text);
    m_parser.NextSymbol();
    m_parser.Expect(symComma, ',');
}

} // namespace

void CompileStatement(CParser &parser)
{
    const TSYMBOL statement = parser.Symbol();
    parser.m_code.EmitToken(KeywordToken(statement));
    parser.NextSymbol();
    CompileArguments(parser, statement);
}

void CompileArguments(CParser &parser, TSYMBOL statement)
{
    CArgumentCompiler(parser, SyntaxOf(statement)).Run();
}

const char *ArgumentSyntax(TSYMBOL statement)
{
    for (const Syntax &row : kSyntax) {
        if (row.statement == statement)
            return row.arguments;
    }
    return nullptr;
}

const char *ArgumentKindName(char kind)
{
    for (const KindName &entry : kKindNames) {
        if (entry.kind == kind)
            return entry.name;
    }
    return nullptr;
}
