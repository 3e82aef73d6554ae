// The module's data memory: the interpreter lays out each variable when its
// declaration runs, in the order the declarations run, within the target's
// data memory.
#pragma once

#include "Value.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace velsim {

enum class VarType : uint8_t { kNone, kChar, kByte, kWord, kInteger, kLong, kFloat };

// The type of a declaration keyword (CHAR ... FLOAT).
VarType TypeOfKeyword(int sym);
int ElementSize(VarType type);

struct Variable {
    VarType type = VarType::kNone; // kNone: not declared (yet)
    int length = 0; // array length, 0 for a plain variable
    int offset = 0; // in the data memory
    int Elements() const
    {
        return length ? length : 1;
    }
};

class CDataMemory {
    template <typename T> static T Read(const uint8_t *p)
    {
        T x;
        std::memcpy(&x, p, sizeof x);
        return x;
    }

    template <typename T> static void Write(uint8_t *p, T x)
    {
        std::memcpy(p, &x, sizeof x);
    }

public:
    explicit CDataMemory(int dataMemory);

    // A program starts: nothing is declared.
    void Reset(int variableCount);
    // Lays out the variable with its memory zeroed; a variable that is already
    // declared keeps its place and value. False when the memory is full.
    bool Declare(int var, VarType type, int length);

    // nullptr when the variable is not declared.
    const Variable *Find(int var) const
    {
        if (var < 0 || static_cast<size_t>(var) >= m_vars.size() || m_vars[var].type == VarType::kNone)
            return nullptr;
        return &m_vars[var];
    }

    Value Load(const Variable &v, int element) const;
    // The element as a whole number; false (and nothing read) for FLOAT.
    bool LoadInteger(const Variable &v, int element, int32_t &out) const
    {
        const uint8_t *p = m_memory.data() + v.offset;
        switch (v.type) {
        case VarType::kChar:
            out = static_cast<int8_t>(p[element]);
            return true;
        case VarType::kByte:
            out = p[element];
            return true;
        case VarType::kWord:
            out = Read<uint16_t>(p + 2 * element);
            return true;
        case VarType::kInteger:
            out = Read<int16_t>(p + 2 * element);
            return true;
        case VarType::kLong:
            out = Read<int32_t>(p + 4 * element);
            return true;
        default:
            return false;
        }
    }
    void Store(const Variable &v, int element, const Value &value);
    // The same as Store with a whole number, without the tagged value.
    void StoreInteger(const Variable &v, int element, int32_t x)
    {
        uint8_t *p = m_memory.data() + v.offset;
        switch (v.type) {
        case VarType::kChar:
        case VarType::kByte:
            p[element] = static_cast<uint8_t>(x);
            return;
        case VarType::kWord:
        case VarType::kInteger:
            Write(p + 2 * element, static_cast<uint16_t>(x));
            return;
        case VarType::kLong:
            Write(p + 4 * element, x);
            return;
        default:
            Store(v, element, Value::Int(x));
        }
    }

    // The whole data memory; a variable's place in it is its offset.
    uint8_t *Data()
    {
        return m_memory.data();
    }
    // The bytes of a variable as they lie in memory (little-endian).
    uint8_t *Bytes(const Variable &v)
    {
        return m_memory.data() + v.offset;
    }
    const uint8_t *Bytes(const Variable &v) const
    {
        return m_memory.data() + v.offset;
    }
    int Size(const Variable &v) const
    {
        return ElementSize(v.type) * v.Elements();
    }

    // The text of a whole CHAR or BYTE array: up to its first 0 byte.
    std::string Text(const Variable &v) const;
    // Copies text into a whole array; CHAR arrays keep a 0 byte at the end.
    void SetText(const Variable &v, const std::string &text);

    int Used() const
    {
        return m_used;
    }

private:
    std::vector<uint8_t> m_memory;
    std::vector<Variable> m_vars;
    int m_used = 0;
};

} // namespace velsim
