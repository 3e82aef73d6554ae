// The variable table of the statement compiler.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

// Type codes of the declaration keywords CHAR, BYTE, WORD, INTEGER, LONG, FLOAT.
enum VarType { vtChar = 1, vtByte, vtWord, vtInteger, vtLong, vtFloat };

struct CVar {
  int type = 0;       // VarType
  int length = 0;     // array length, 0 for a plain variable
  std::string name;   // as written in the declaration
  int index = 0;      // declaration order; gives the short name in the image
};

// What a variable reference named: its type, and a length above 0 when a
// whole array was named (no index).
struct CVarInfo {
  int type = 0;
  int length = 0;
};

int ElementSize(int type);  // bytes of one element of a VarType

class CVarList {
 public:
  CVar* FindVar(const std::string& name) const;     // case-insensitive
  CVar* AddVar(const std::string& name, int type);  // length 0, next index
  int VarCount() const { return static_cast<int>(m_vars.size()); }
  long long DataSize() const;  // sum of element size x length (or 1) over all variables

 private:
  std::unordered_map<std::string, std::unique_ptr<CVar>> m_vars;
};
