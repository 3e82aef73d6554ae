#include "lang/Builtins.h"

#include "lang/Keywords.h"

namespace velmo::lang {

namespace {

// clang-format off
constexpr SysVar kSysVars[] = {
  {symPI, Suffix::None, false},
  {symRXD, Suffix::None, false},
  {symMSG, Suffix::None, true},
  {symERR, Suffix::None, true},
  {symIRCODE, Suffix::None, true},
  {symKEYCODE, Suffix::None, false},
  {symPWM0, Suffix::None, true},
  {symADC0, Suffix::None, false},
  {symPORT0, Suffix::PortBit, true},
  {symTIMER0, Suffix::None, true},
  {symCOUNTER0, Suffix::None, true},
  {symSTEPPER0, Suffix::Stepper, true},
  {symTIME, Suffix::Time, true},
  {symDATE, Suffix::Date, true},
  {symDAY, Suffix::None, true},
  {symCR, Suffix::None, false},
  {symNL, Suffix::None, false},
};

constexpr SuffixSet kSuffixSets[] = {
  {Suffix::Stepper, {symSPEED, symSTEPS, symSTEPS}, "SPEED or STEPS expected."},
  {Suffix::Time, {symHOUR, symMINUTE, symSECOND}, "HOUR, MINUTE or SECOND expected."},
  {Suffix::Date, {symYEAR, symMONTH, symDAY}, "DAY, MONTH or YEAR expected."},
};

constexpr BuiltinFunction kFunctions[] = {
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
    const int token = KeywordToken(symbol);
    for (const SysVar &sv : kSysVars)
        if (token >= 0 && KeywordToken(sv.first) == token)
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

const BuiltinFunction *FindFunction(int symbol)
{
    for (const BuiltinFunction &fn : kFunctions)
        if (fn.symbol == symbol)
            return &fn;
    return nullptr;
}

} // namespace velmo::lang
