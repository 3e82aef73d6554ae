// velc_gen <lines> <file>: writes a generated Velmo program of that many lines.
#include "ProgramGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fputs("Usage: velc_gen <lines> <file>\n", stderr);
        return 2;
    }
    std::ofstream(argv[2], std::ios::binary) << GenerateProgram(std::atoi(argv[1]));
    return 0;
}
