// Memory and nesting limits of the module types: the compiler checks a
// program against them, the simulator runs as one of them, the manual lists them.
#pragma once

#include <span>
#include <string>

namespace velmo::lang {

struct TargetProfile {
    // A profile starts as ZENTRA8. When a limit of data memory, program
    // memory or variable count has been reported, the statement layer sets it
    // to the largest int so that its message is printed once per run.
    int dataMemory = 1024; // bytes of variable storage
    int programMemory = 16348; // bytes of program image
    int maxVariables = 26;
    int maxArrayLength = 255;
    int maxDoNesting = 5;
    int maxForNesting = 3;
    int maxWhileNesting = 5;

    // Selects "ZENTRA8", "ZENTRA16" or "ZENTRAVIEW" (any case); false and no
    // change for any other name.
    bool SetTarget(const std::string &name);
};

// The module types by name, in the order the manual lists them.
struct NamedTarget {
    const char *name;
    TargetProfile limits;
};
std::span<const NamedTarget> TargetProfiles();

} // namespace velmo::lang
