// The two ways velsim runs: a program image on standard input and output,
// or a module on a pseudo-terminal. Each returns the exit code.
#pragma once

#include "Options.h"

namespace velsim {

// 0 when the program ended (or was stopped), 1 after a runtime error, 2 when
// the image cannot run.
int RunImageMode(const Options &options);
// 0 after a stop request (or the other side leaving, with --once), 2 when the
// pseudo-terminal cannot be set up.
int RunPtyMode(const Options &options);

} // namespace velsim
