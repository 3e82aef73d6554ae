#pragma once

#include "CompilerRunner.h"

class TColorListBox;

// The Build list as the place a compile run shows its output: the list is
// cleared, filled line by line and replaced by the captured lines. A list
// destroyed during the run is no longer written to.
TBuildOutput BuildListOutput(TColorListBox *list);
