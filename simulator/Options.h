// The command line of velsim.
#pragma once

#include <string>

namespace velsim {

struct Options {
    std::string image; // program.hex: run it with standard input/output as the serial line
    bool pty = false; // serve as a module on a pseudo-terminal
    bool dap = false; // a debug adapter on standard input/output
    std::string link; // with --pty: a symbolic link to the device
    bool once = false; // with --pty: end when the other side has closed the device
    std::string target = "ZENTRA8";
    bool trace = false;
    bool help = false;
};

// False with the reason in `error` for a command line that cannot be used.
bool ParseOptions(int argc, const char *const *argv, Options &options, std::string &error);

const char *UsageText();

} // namespace velsim
