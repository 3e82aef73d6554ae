// The variable table of the statement compiler and the six variable types.
#pragma once

#include "NoCase.h"

#include <memory>

#include <string>
#include <unordered_map>
#include <vector>

// Type codes of the declaration keywords CHAR, BYTE, WORD, INTEGER, LONG, FLOAT.
enum VarType { vtChar = 1, vtByte, vtWord, vtInteger, vtLong, vtFloat };

// One row of the type table.
struct VarTypeInfo {
    int keyword; // symbol of the declaration keyword
    int size; // bytes of one element
    const char *name; // as named in messages ("word")
};

// Names of variables and labels compare without regard to case: tables are
// keyed by this upper-case copy, messages keep the name as written.
std::string UpperName(const std::string &name);

// The row of a type code 1..6.
const VarTypeInfo &TypeInfo(int type);
int ElementSize(int type); // bytes of one element of a VarType

struct CVar {
    int type = 0; // VarType
    int length = 0; // array length, 0 for a plain variable
    std::string name; // as written in the declaration
    int index = 0; // declaration order; gives the short name in the image

    bool IsArray() const
    {
        return length > 0;
    }
    long long DataSize() const; // element size x length, or element size
};

// What a variable reference named: its type, and a length above 0 when a
// whole array was named (no index).
struct CVarInfo {
    int type = 0;
    int length = 0;
};

class CVarList {
public:
    CVar *FindVar(const std::string &name) const; // case-insensitive
    CVar *AddVar(const std::string &name, int type); // length 0, next index
    void SetLength(CVar &var, int length); // the length of its declaration
    int VarCount() const
    {
        return static_cast<int>(m_vars.size());
    }
    std::vector<const CVar *> InDeclarationOrder() const;
    // Sum of the data sizes of all variables, kept up to date as they are
    // declared so that checking it after every declaration stays cheap.
    long long DataSize() const
    {
        return m_dataSize;
    }

private:
    NoCaseMap<std::unique_ptr<CVar>> m_vars;
    long long m_dataSize = 0;
};
