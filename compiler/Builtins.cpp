#include "Builtins.h"

namespace {

// clang-format off
constexpr SysVar kSysVars[] = {
  {symPI, symPI, Suffix::None, false},
  {symRXD, symRXD, Suffix::None, false},
  {symMSG, symMSG, Suffix::None, true},
  {symERR, symERR, Suffix::None, true},
  {symIRCODE, symIRCODE, Suffix::None, true},
  {symKEYCODE, symKEYCODE, Suffix::None, false},
  {symPWM0, TSYMBOL(symPWM7), Suffix::None, true},
  {symADC0, TSYMBOL(symADC7), Suffix::None, false},
  {symPORT0, TSYMBOL(symPORT9), Suffix::PortBit, true},
  {symTIMER0, TSYMBOL(symTIMER3), Suffix::None, true},
  {symCOUNTER0, TSYMBOL(symCOUNTER3), Suffix::None, true},
  {symSTEPPER0, TSYMBOL(symSTEPPER3), Suffix::Stepper, true},
  {symTIME, symTIME, Suffix::Time, true},
  {symDATE, symDATE, Suffix::Date, true},
  {symDAY, symDAY, Suffix::None, true},
  {symCR, symCR, Suffix::None, false},
  {symNL, symNL, Suffix::None, false},
};

constexpr SuffixSet kSuffixSets[] = {
  {Suffix::Stepper, {symSPEED, symSTEPS, symSTEPS}, "SPEED or STEPS expected."},
  {Suffix::Time, {symHOUR, symMINUTE, symSECOND}, "HOUR, MINUTE or SECOND expected."},
  {Suffix::Date, {symYEAR, symMONTH, symDAY}, "DAY, MONTH or YEAR expected."},
};

constexpr Function kFunctions[] = {
  {symDEG, ArgShape::One},   {symRAD, ArgShape::One},   {symSIN, ArgShape::One},
  {symCOS, ArgShape::One},   {symTAN, ArgShape::One},   {symATN, ArgShape::One},
  {symSQR, ArgShape::One},   {symEXP, ArgShape::One},   {symLOG, ArgShape::One},
  {symLO, ArgShape::One},    {symHI, ArgShape::One},    {symABS, ArgShape::One},
  {symINT, ArgShape::One},   {symPEEK, ArgShape::One},  {symROUND, ArgShape::One},
  {symEOF, ArgShape::One},
  {symPOW, ArgShape::Two},   {symMIN, ArgShape::Two},   {symMAX, ArgShape::Two},
  {symPOINT, ArgShape::Two},
  {symLEN, ArgShape::StringVar}, {symVAL, ArgShape::Val}, {symPOS, ArgShape::Pos},
  {symUSR, ArgShape::Usr},
};
// clang-format on

} // namespace

const SysVar *FindSysVar(int symbol)
{
    for (const SysVar &sv : kSysVars)
        if (symbol >= sv.first && symbol <= sv.last)
            return &sv;
    return nullptr;
}

const SuffixSet *FindSuffixSet(Suffix suffix)
{
    for (const SuffixSet &set : kSuffixSets)
        if (set.suffix == suffix)
            return &set;
    return nullptr;
}

const Function *FindFunction(int symbol)
{
    for (const Function &fn : kFunctions)
        if (fn.symbol == symbol)
            return &fn;
    return nullptr;
}
