// SIGINT and SIGTERM become a readable pipe, which every wait of the module
// watches, so the simulator ends cleanly from wherever it waits.
#pragma once

namespace velsim {

// Installs the handlers (once); returns the pipe's read end, -1 on failure.
// SIGPIPE is ignored: a line that has gone away is noticed by the write.
int InstallStopSignals();

} // namespace velsim
