#include "Variables.h"

#include <cctype>

namespace {

std::string UpperCopy(const std::string& s) {
  std::string upper = s;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

int ElementSize(int type) {
  static const int kSizes[] = {0, 1, 1, 2, 2, 4, 4};
  return type >= vtChar && type <= vtFloat ? kSizes[type] : 0;
}

CVar* CVarList::FindVar(const std::string& name) const {
  auto it = m_vars.find(UpperCopy(name));
  return it == m_vars.end() ? nullptr : it->second.get();
}

CVar* CVarList::AddVar(const std::string& name, int type) {
  auto var = std::make_unique<CVar>();
  var->type = type;
  var->name = name;
  var->index = VarCount();
  CVar* result = var.get();
  m_vars[UpperCopy(name)] = std::move(var);
  return result;
}

long long CVarList::DataSize() const {
  long long total = 0;
  for (const auto& [key, var] : m_vars) {
    total += static_cast<long long>(ElementSize(var->type)) * (var->length > 0 ? var->length : 1);
  }
  return total;
}
