// The syntax table of the input/output, device and display statements: one
// row of argument kinds per statement. The compiler compiles an argument list
// from it and the manual prints its syntax lines from it.
#include "lang/ArgumentSyntax.h"

namespace velmo::lang {

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

} // namespace

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

} // namespace velmo::lang
