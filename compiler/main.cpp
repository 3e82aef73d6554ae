// velc <source>: compiles one Velmo program into a HEX file and a listing.
// The exit code is 0 whether or not the program had errors; callers read
// the messages.
#include "Compiler.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("Usage: velc <source>\n", stdout);
    return 0;
  }
  try {
    CCompiler compiler;
    compiler.Compile(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stdout, "Fatal error: %s\n", e.what());
    return 1;
  }
  return 0;
}
