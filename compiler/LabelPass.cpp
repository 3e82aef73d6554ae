// The label pass. Label lines are not recognised yet: the pass leaves the
// program unchanged. It walks the source with CSource::Walker, so dropping
// label-only lines keeps it linear; a label's value is walk.KeptCount().
#include "LabelPass.h"

#include "Compiler.h"
#include "Source.h"

void LabelPass(CCompiler& /*compiler*/, CSource& source) {
  CSource::Walker walk(source);
  while (!walk.AtEnd()) walk.Keep();
}
