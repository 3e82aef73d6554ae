// velsim: a simulated Velmo module. It runs a program image with standard
// input and output as the serial line, or serves as a module on a
// pseudo-terminal (see Options.cpp for the command line).
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
    return options.pty ? velsim::RunPtyMode(options) : velsim::RunImageMode(options);
}
