#include "Variables.h"

#include "LanguageNames.h"

#include <algorithm>
#include <cctype>

namespace {

// Indexed by type code - 1.
constexpr VarTypeInfo kTypes[] = {
    {symCHAR, 1, "char"},       {symBYTE, 1, "byte"}, {symWORD, 2, "word"},
    {symINTEGER, 2, "integer"}, {symLONG, 4, "long"}, {symFLOAT, 4, "float"},
};

} // namespace

std::string UpperName(const std::string &name)
{
    std::string upper = name;
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

const VarTypeInfo &TypeInfo(int type)
{
    return kTypes[type >= vtChar && type <= vtFloat ? type - vtChar : 0];
}

int ElementSize(int type)
{
    return type >= vtChar && type <= vtFloat ? TypeInfo(type).size : 0;
}

long long CVar::DataSize() const
{
    return static_cast<long long>(ElementSize(type)) * (length > 0 ? length : 1);
}

CVar *CVarList::FindVar(const std::string &name) const
{
    auto it = m_vars.find(std::string_view(name));
    return it == m_vars.end() ? nullptr : it->second.get();
}

CVar *CVarList::AddVar(const std::string &name, int type)
{
    auto var = std::make_unique<CVar>();
    var->type = type;
    var->name = name;
    var->index = VarCount();
    CVar *result = var.get();
    m_vars[UpperName(name)] = std::move(var);
    m_dataSize += result->DataSize();
    return result;
}

std::vector<const CVar *> CVarList::InDeclarationOrder() const
{
    std::vector<const CVar *> vars;
    vars.reserve(m_vars.size());
    for (const auto &entry : m_vars)
        vars.push_back(entry.second.get());
    std::sort(vars.begin(), vars.end(), [](const CVar *a, const CVar *b) { return a->index < b->index; });
    return vars;
}

void CVarList::SetLength(CVar &var, int length)
{
    m_dataSize -= var.DataSize();
    var.length = length;
    m_dataSize += var.DataSize();
}
