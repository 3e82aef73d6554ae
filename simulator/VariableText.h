// Variables of the data memory as a user reads and writes them: numbers in
// decimal, CHAR arrays as quoted text, other arrays as their element list.
#pragma once

#include "DataMemory.h"

#include <string>

namespace velsim {

// The whole variable: "12", "2.5", "\"hello\"", "[1, 2, 3]"; "(not declared)"
// while its declaration has not run.
std::string VariableText(const CDataMemory &memory, const Variable *var);
std::string ElementText(const CDataMemory &memory, const Variable &var, int element);

// Stores a value typed by the user: a number into an element, or a quoted
// text into a whole CHAR or BYTE array. False with the reason when the text
// does not fit the variable.
bool SetVariableText(CDataMemory &memory, const Variable &var, int element, const std::string &text,
                     std::string &error);

// "char", "byte", ... as the map names the types.
const char *TypeName(VarType type);

} // namespace velsim
