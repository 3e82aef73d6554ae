// The macro table of the directive pass.
#pragma once

#include <string>
#include <unordered_map>

struct CMacro {
  std::string body;      // parameters replaced by "#0", "#1", ...
  int paramCount = 0;
};

// Upper-case macro name -> macro; shared by all files of a run.
class CDefineList {
 public:
  std::unordered_map<std::string, CMacro> m_macros;
};
