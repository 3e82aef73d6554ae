// The directive pass. So far it accepts ordinary lines only: whole-line
// comments are dropped, every other line gets its file index and a clear
// directive flag. Directives, includes and macro expansion belong here.
#include "Preprocessor.h"

#include "Compiler.h"
#include "Source.h"

void Preprocess(CCompiler& compiler, CSource& source) {
  const int fileIndex = compiler.m_files.FindOrAdd(source.Name());
  CSource::Walker walk(source);
  while (!walk.AtEnd()) {
    CLine& line = walk.Current();
    if (!line.m_text.empty() && line.m_text[0] == '\'') {
      walk.Drop();
      continue;
    }
    line.m_directive = false;
    line.m_fileIndex = fileIndex;
    walk.Keep();
  }
}
