// velsim: a simulated Velmo module. It runs a program image with standard
// input and output as the serial line, or serves as a module on a
// pseudo-terminal, or debugs a program for a Debug Adapter Protocol client
// (see Options.cpp for the command line).
#include "DapAdapter.h"
#include "Modes.h"
#include "Options.h"

#include <cstdio>

int main(int argc, char **argv)
{
    velsim::Options options;
    std::string error;
    if (!velsim::ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "velsim: %s\n%s", error.c_str(), velsim::UsageText());
        return 2;
    }
    if (options.help) {
        std::fputs(velsim::UsageText(), stdout);
        return 0;
    }
    if (options.dap)
        return velsim::RunDapMode();
    return options.pty ? velsim::RunPtyMode(options) : velsim::RunImageMode(options);
}
