#pragma once

#include "LoadOptions.h"

// Exit statuses of velload.
enum TVelloadExit : int {
    veOk = 0,
    veTransferFailed = 1,
    veUsage = 2,
};

// Runs velload with parsed options: the download (or the reset alone) on the
// device the options and the settings file name, then, with --monitor, the
// connection between the module and standard input and output. Needs a
// QCoreApplication (the monitor runs its event loop) and ProgramDir set.
int RunVelload(const TLoadOptions &options);
