// velc <source>: compiles one Velmo program into a HEX file and a listing.
// The exit code is 0 whether or not the program had errors; callers read
// the messages.
#include "Compiler.h"

#include <cstdio>
#include <exception>

namespace {

// The program's name as it is called on this platform.
#ifdef _WIN32
const char kUsage[] = "Usage: velc.exe <source>\n";
#else
const char kUsage[] = "Usage: velc <source>\n";
#endif

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        CCompiler compiler;
        compiler.Compile(argv[1]);
    } catch (const std::exception &e) {
        std::fprintf(stdout, "Fatal error: %s\n", e.what());
        return 1;
    }
    return 0;
}
