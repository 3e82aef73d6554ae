#include "DataMemory.h"

#include "TokenTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velsim {

VarType TypeOfKeyword(int sym)
{
    struct TypeKeyword {
        TSYMBOL sym;
        VarType type;
    };
    static constexpr TypeKeyword kTypes[] = {
        {symCHAR, VarType::kChar},       {symBYTE, VarType::kByte}, {symWORD, VarType::kWord},
        {symINTEGER, VarType::kInteger}, {symLONG, VarType::kLong}, {symFLOAT, VarType::kFloat},
    };
    for (const TypeKeyword &entry : kTypes) {
        if (entry.sym == sym)
            return entry.type;
    }
    return VarType::kNone;
}

int ElementSize(VarType type)
{
    static constexpr int kSizes[] = {0, 1, 1, 2, 2, 4, 4};
    return kSizes[static_cast<int>(type)];
}

CDataMemory::CDataMemory(int dataMemory)
    : m_memory(static_cast<size_t>(dataMemory))
{
}

void CDataMemory::Reset(int variableCount)
{
    m_vars.assign(static_cast<size_t>(variableCount), Variable());
    m_used = 0;
}

bool CDataMemory::Declare(int var, VarType type, int length)
{
    Variable &v = m_vars[var];
    if (v.type != VarType::kNone)
        return true;
    const int64_t size = static_cast<int64_t>(ElementSize(type)) * (length ? length : 1);
    if (m_used + size > static_cast<int64_t>(m_memory.size()))
        return false;
    v.type = type;
    v.length = length;
    v.offset = m_used;
    std::memset(m_memory.data() + v.offset, 0, static_cast<size_t>(size));
    m_used += static_cast<int>(size);
    return true;
}

Value CDataMemory::Load(const Variable &v, int element) const
{
    const uint8_t *p = m_memory.data() + v.offset + element * ElementSize(v.type);
    switch (v.type) {
    case VarType::kChar:
        return Value::Int(static_cast<int8_t>(*p));
    case VarType::kByte:
        return Value::Int(*p);
    case VarType::kWord: {
        uint16_t x;
        std::memcpy(&x, p, sizeof x);
        return Value::Int(x);
    }
    case VarType::kInteger: {
        int16_t x;
        std::memcpy(&x, p, sizeof x);
        return Value::Int(x);
    }
    case VarType::kLong: {
        int32_t x;
        std::memcpy(&x, p, sizeof x);
        return Value::Int(x);
    }
    case VarType::kFloat: {
        float x;
        std::memcpy(&x, p, sizeof x);
        return Value::Real(x);
    }
    case VarType::kNone:
        break;
    }
    return Value();
}

void CDataMemory::Store(const Variable &v, int element, const Value &value)
{
    uint8_t *p = m_memory.data() + v.offset + element * ElementSize(v.type);
    switch (v.type) {
    case VarType::kChar:
    case VarType::kByte:
        *p = static_cast<uint8_t>(value.AsInt());
        break;
    case VarType::kWord:
    case VarType::kInteger: {
        const uint16_t x = static_cast<uint16_t>(value.AsInt());
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case VarType::kLong: {
        const int32_t x = value.AsInt();
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case VarType::kFloat: {
        const double d = value.AsReal();
        // Out-of-range values become infinite rather than undefined.
        const float x = std::isfinite(d) && std::fabs(d) > 3.4028234663852886e38 ? (d < 0 ? -HUGE_VALF : HUGE_VALF)
                                                                                 : static_cast<float>(d);
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case VarType::kNone:
        break;
    }
}

std::string CDataMemory::Text(const Variable &v) const
{
    const char *p = reinterpret_cast<const char *>(m_memory.data() + v.offset);
    const size_t size = static_cast<size_t>(Size(v));
    return std::string(p, std::find(p, p + size, '\0'));
}

void CDataMemory::SetText(const Variable &v, const std::string &text)
{
    const size_t size = static_cast<size_t>(Size(v));
    const size_t room = v.type == VarType::kChar && size > 0 ? size - 1 : size;
    const size_t count = std::min(room, text.size());
    uint8_t *p = Bytes(v);
    std::memcpy(p, text.data(), count);
    std::memset(p + count, 0, size - count);
}

} // namespace velsim
