// First symbol of a statement -> the routine that compiles it. Read-only
// system variables, functions, THEN, TO, STEP, AS, OUTPUT and APPEND begin
// no statement and have no entry.
#include "Statements.h"

#include "Parser.h"

#include <array>

namespace {

struct Entry {
    int first; // first symbol of a range
    int last; // last symbol of the range (== first for a single symbol)
    StatementRoutine routine;
};

#define ROUTINE(call)                                                                                                  \
    [](CParser &p, bool c) {                                                                                           \
        (void)c;                                                                                                       \
        p.call;                                                                                                        \
    }
#define ONE(symbol, call)                                                                                              \
    {                                                                                                                  \
        symbol, symbol, ROUTINE(call)                                                                                  \
    }

// clang-format off
constexpr Entry kEntries[] = {
  // Variables and declarations
  ONE(symIdent, Assignment()),
  {symCHAR, symFLOAT, ROUTINE(Declaration())},
  ONE(symINC, IncDec(0x9B)),
  ONE(symDEC, IncDec(0x9C)),
  // Assignments to system variables
  ONE(symMSG, SysVarAssignment()),
  ONE(symERR, SysVarAssignment()),
  ONE(symIRCODE, SysVarAssignment()),
  {symPWM0, symPWM7, ROUTINE(SysVarAssignment())},
  {symPORT0, symPORT9, ROUTINE(SysVarAssignment())},
  {symTIMER0, symTIMER3, ROUTINE(SysVarAssignment())},
  {symCOUNTER0, symCOUNTER3, ROUTINE(SysVarAssignment())},
  {symSTEPPER0, symSTEPPER3, ROUTINE(SysVarAssignment())},
  ONE(symTIME, SysVarAssignment()),
  ONE(symDATE, SysVarAssignment()),
  ONE(symDAY, SysVarAssignment()),
  // Control flow
  ONE(symIF, IfStatement()),
  ONE(symELSIF, ElsifStatement()),
  ONE(symELSE, ElseStatement()),
  ONE(symENDIF, EndifStatement()),
  ONE(symFOR, ForStatement()),
  ONE(symNEXT, NextStatement(c)),
  ONE(symWHILE, WhileStatement()),
  ONE(symWEND, WendStatement(c)),
  ONE(symDO, DoStatement()),
  ONE(symLOOP, LoopStatement(c)),
  ONE(symEXIT, ExitStatement()),
  ONE(symON, OnStatement()),
  ONE(symGOTO, GotoStatement(0x8F)),
  ONE(symGOSUB, GotoStatement(0x90)),
  ONE(symRETURN, ReturnStatement()),
  ONE(symEND, EndStatement()),
  // Data list, files and devices
  ONE(symDATA, DataStatement()),
  ONE(symREAD, ReadStatement()),
  ONE(symRESTORE, RestoreStatement()),
  ONE(symLOAD, LoadStatement()),
  ONE(symSTORE, StoreStatement()),
  ONE(symWAIT, WaitStatement()),
  ONE(symOPEN, OpenStatement()),
  ONE(symCLOSE, CloseStatement()),
  ONE(symFLUSH, FlushStatement()),
  ONE(symPRINT, PrintStatement()),
  ONE(symINPUT, InputStatement()),
  ONE(symPUT, PutStatement()),
  ONE(symGET, GetStatement()),
  ONE(symFIND, FindStatement()),
  // Ports, buses, modem, sound and settings
  ONE(symPOKE, PokeStatement()),
  ONE(symSEND, SendStatement()),
  ONE(symRECV, RecvStatement()),
  ONE(symI2CIN, I2cInStatement()),
  ONE(symI2COUT, I2cOutStatement()),
  ONE(symSPISHIFT, SpiShiftStatement()),
  ONE(symINITGSM, InitGsmStatement()),
  ONE(symSENDSMS, SendSmsStatement()),
  ONE(symRECVSMS, RecvSmsStatement()),
  ONE(symSTANDBY, StandbyStatement()),
  ONE(symSOUND, SoundStatement()),
  ONE(symPAUSE, PauseStatement()),
  ONE(symSETCOM, SetComStatement()),
  ONE(symSETPWM, SetPwmStatement()),
  ONE(symSETPORT, SetPortStatement()),
  ONE(symSETDRIVE, SetDriveStatement()),
  ONE(symSETCLOCK, SetClockStatement()),
  ONE(symSETKEYPAD, SetKeypadStatement()),
  ONE(symSETSYMBOL, SetSymbolStatement()),
  ONE(symSETCOUNTER, SetCounterStatement()),
  ONE(symSETDISPLAY, SetDisplayStatement()),
  ONE(symSETNETWORK, SetNetworkStatement()),
  ONE(symSETSTEPPER, SetStepperStatement()),
  // Display
  ONE(symCLS, ClsStatement()),
  ONE(symMOVE, MoveStatement()),
  ONE(symFONT, FontStatement()),
  ONE(symCOLOR, ColorStatement()),
  ONE(symPLOT, GraphicsStatement(0)),
  ONE(symDRAW, GraphicsStatement(1)),
  ONE(symFRAME, GraphicsStatement(2)),
  ONE(symSCROLL, GraphicsStatement(3)),
  ONE(symCIRCLE, GraphicsStatement(4)),
  ONE(symPICTURE, GraphicsStatement(5)),
  ONE(symBARGRAPH, GraphicsStatement(6)),
};
// clang-format on

#undef ONE
#undef ROUTINE

constexpr std::array<StatementRoutine, symCount> BuildTable()
{
    std::array<StatementRoutine, symCount> table{};
    for (const Entry &e : kEntries) {
        for (int s = e.first; s <= e.last; ++s)
            table[s] = e.routine;
    }
    return table;
}

} // namespace

StatementRoutine StatementFor(int symbol)
{
    // Built while compiling: read-only data, nothing to build or write at run time.
    static constexpr std::array<StatementRoutine, symCount> table = BuildTable();
    return symbol >= 0 && symbol < symCount ? table[symbol] : nullptr;
}
