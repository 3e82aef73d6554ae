#include "Options.h"

#include "lang/Target.h"

#include <cstring>

namespace velsim {

namespace {

constexpr char kUsage[] = "Usage: velsim [--target NAME] [--trace] program.hex\n"
                          "       velsim --pty [--link PATH] [--once] [--target NAME] [--trace]\n"
                          "       velsim --dap\n"
                          "\n"
                          "A simulated Velmo module: its loader and its interpreter.\n"
                          "\n"
                          "  program.hex    run this program image; standard input and output are the\n"
                          "                 module's serial line\n"
                          "  --pty          serve as a module on a pseudo-terminal: print its device path,\n"
                          "                 wait in the loader for a download, run what arrives\n"
                          "  --link PATH    make PATH a symbolic link to the pseudo-terminal\n"
                          "  --once         end when the other side has closed the pseudo-terminal\n"
                          "  --dap          debug a program: speak the Debug Adapter Protocol on standard\n"
                          "                 input and output (the client's launch names the program)\n"
                          "  --target NAME  memory profile: ZENTRA8 (default), ZENTRA16 or ZENTRAVIEW\n"
                          "  --trace        report every change of the virtual hardware on standard error\n"
                          "  --help         show this text\n";

} // namespace

const char *UsageText()
{
    return kUsage;
}

bool ParseOptions(int argc, const char *const *argv, Options &options, std::string &error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--pty") {
            options.pty = true;
        } else if (arg == "--dap") {
            options.dap = true;
        } else if (arg == "--once") {
            options.once = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if ((arg == "--link" || arg == "--target") && !hasValue) {
            error = arg + " needs a value";
            return false;
        } else if (arg == "--link") {
            options.link = argv[++i];
        } else if (arg == "--target") {
            options.target = argv[++i];
            if (!velmo::lang::TargetProfile().SetTarget(options.target)) {
                error = "unknown target: " + options.target;
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option: " + arg;
            return false;
        } else if (options.image.empty()) {
            options.image = arg;
        } else {
            error = "only one program image can run: " + arg;
            return false;
        }
    }
    if (options.help)
        return true;
    if (options.dap && (options.pty || !options.image.empty())) {
        error = "--dap takes no program image and no --pty";
        return false;
    }
    if (options.dap)
        return true;
    if (options.pty == !options.image.empty()) {
        error = options.pty ? "--pty takes no program image" : "no program image given";
        return false;
    }
    if (!options.pty && (options.once || !options.link.empty())) {
        error = "--link and --once need --pty";
        return false;
    }
    return true;
}

} // namespace velsim
