// Where the comparison benchmarks find velc: the path given on the command
// line, else bin/velc of the build tree that holds the benchmark.
#pragma once

#include <filesystem>
#include <string>

inline std::string VelcPath(int argc, char **argv)
{
    if (argc > 1)
        return argv[1];
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (self.parent_path().parent_path() / "bin" / "velc").string();
}
