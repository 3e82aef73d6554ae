#include "VariableText.h"

#include <charconv>
#include <cmath>

namespace velsim {

namespace {

constexpr int kMaxListed = 64; // elements shown of a long array

bool IsTextArray(const Variable &var)
{
    return var.length > 0 && var.type == VarType::kChar;
}

bool ParseNumber(const std::string &text, Value &value)
{
    const char *begin = text.data();
    const char *end = begin + text.size();
    int32_t i = 0;
    auto r = std::from_chars(begin, end, i);
    if (r.ec == std::errc() && r.ptr == end && !text.empty()) {
        value = Value::Int(i);
        return true;
    }
    double f = 0;
    auto rf = std::from_chars(begin, end, f);
    if (rf.ec == std::errc() && rf.ptr == end && !text.empty() && std::isfinite(f)) {
        value = Value::Real(f);
        return true;
    }
    return false;
}

} // namespace

const char *TypeName(VarType type)
{
    static const char *const kNames[] = {"", "char", "byte", "word", "integer", "long", "float"};
    return kNames[static_cast<int>(type)];
}

std::string ElementText(const CDataMemory &memory, const Variable &var, int element)
{
    return FormatValue(memory.Load(var, element));
}

std::string VariableText(const CDataMemory &memory, const Variable *var)
{
    if (!var)
        return "(not declared)";
    if (IsTextArray(*var))
        return "\"" + memory.Text(*var) + "\"";
    if (var->length == 0)
        return ElementText(memory, *var, 0);
    std::string text = "[";
    for (int i = 0; i < var->length && i < kMaxListed; ++i)
        text += (i ? ", " : "") + ElementText(memory, *var, i);
    return text + (var->length > kMaxListed ? ", ...]" : "]");
}

bool SetVariableText(CDataMemory &memory, const Variable &var, int element, const std::string &text, std::string &error)
{
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    if (quoted) {
        if (var.length == 0 || (var.type != VarType::kChar && var.type != VarType::kByte) || element >= 0) {
            error = "only a CHAR or BYTE array takes a text";
            return false;
        }
        memory.SetText(var, text.substr(1, text.size() - 2));
        return true;
    }
    Value value;
    if (!ParseNumber(text, value)) {
        error = "not a number: " + text;
        return false;
    }
    if (element < 0 && var.length > 0) {
        error = "an array takes a value per element";
        return false;
    }
    if (element >= var.Elements()) {
        error = "no such element";
        return false;
    }
    memory.Store(var, element < 0 ? 0 : element, value);
    return true;
}

} // namespace velsim
