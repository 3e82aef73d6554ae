#include "lang/Target.h"

#include <strings.h>

namespace velmo::lang {

namespace {

TargetProfile Limits(int data, int program, int vars, int array, int doN, int forN, int whileN)
{
    TargetProfile p;
    p.dataMemory = data;
    p.programMemory = program;
    p.maxVariables = vars;
    p.maxArrayLength = array;
    p.maxDoNesting = doN;
    p.maxForNesting = forN;
    p.maxWhileNesting = whileN;
    return p;
}

} // namespace

std::span<const NamedTarget> TargetProfiles()
{
    static const NamedTarget profiles[] = {
        {"ZENTRA8", Limits(1024, 16348, 26, 255, 5, 3, 5)},
        {"ZENTRA16", Limits(2048, 32768, 52, 65535, 10, 6, 10)},
        {"ZENTRAVIEW", Limits(2048, 32768, 52, 65535, 10, 6, 10)},
    };
    return profiles;
}

bool TargetProfile::SetTarget(const std::string &name)
{
    for (const NamedTarget &target : TargetProfiles()) {
        if (strcasecmp(target.name, name.c_str()) == 0) {
            *this = target.limits;
            return true;
        }
    }
    return false;
}

} // namespace velmo::lang
