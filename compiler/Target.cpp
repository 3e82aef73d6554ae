#include "Target.h"

#include <strings.h>

namespace {

struct NamedProfile {
    const char *name;
    TargetProfile limits;
};

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

const NamedProfile *Profiles()
{
    static const NamedProfile profiles[] = {
        {"ZENTRA8", Limits(1024, 16348, 26, 255, 5, 3, 5)},
        {"ZENTRA16", Limits(2048, 32768, 52, 65535, 10, 6, 10)},
        {"ZENTRAVIEW", Limits(2048, 32768, 52, 65535, 10, 6, 10)},
        {nullptr, {}},
    };
    return profiles;
}

} // namespace

bool TargetProfile::SetTarget(const std::string &name)
{
    for (const NamedProfile *p = Profiles(); p->name; ++p) {
        if (strcasecmp(p->name, name.c_str()) == 0) {
            *this = p->limits;
            return true;
        }
    }
    return false;
}
