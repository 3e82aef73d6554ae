// Ports, buses, the modem, sound and the SET... statements. Their argument
// lists are rows of the syntax table (StatementSyntax.cpp).
#include "Parser.h"
#include "StatementSyntax.h"

// POKE addr, expr
void CParser::PokeStatement()
{
    CompileStatement(*this);
}
// SEND msg, var, ...
void CParser::SendStatement()
{
    CompileStatement(*this);
}
// RECV var, ...
void CParser::RecvStatement()
{
    CompileStatement(*this);
}
// I2CIN chip, [addr], var, ...
void CParser::I2cInStatement()
{
    CompileStatement(*this);
}
// I2COUT chip, addr [, var, ...]
void CParser::I2cOutStatement()
{
    CompileStatement(*this);
}
// SPISHIFT mode, direction, var, ...
void CParser::SpiShiftStatement()
{
    CompileStatement(*this);
}
// INITGSM [#device,] pin [, "initstr" [, timeout]]
void CParser::InitGsmStatement()
{
    CompileStatement(*this);
}
// SENDSMS [#device,] phone, item {, item}
void CParser::SendSmsStatement()
{
    CompileStatement(*this);
}
// RECVSMS [#device,] phone, text
void CParser::RecvSmsStatement()
{
    CompileStatement(*this);
}
// STANDBY
void CParser::StandbyStatement()
{
    CompileStatement(*this);
}
// SOUND frequency [, duration]
void CParser::SoundStatement()
{
    CompileStatement(*this);
}
// PAUSE milliseconds
void CParser::PauseStatement()
{
    CompileStatement(*this);
}
// SETCOM channel, baudrate
void CParser::SetComStatement()
{
    CompileStatement(*this);
}
// SETPWM channel, divider, period
void CParser::SetPwmStatement()
{
    CompileStatement(*this);
}
// SETPORT port, config [, pull-up]
void CParser::SetPortStatement()
{
    CompileStatement(*this);
}
// SETDRIVE drive
void CParser::SetDriveStatement()
{
    CompileStatement(*this);
}
// SETCLOCK mode
void CParser::SetClockStatement()
{
    CompileStatement(*this);
}
// SETKEYPAD keypad
void CParser::SetKeypadStatement()
{
    CompileStatement(*this);
}
// SETSYMBOL char, data, ...
void CParser::SetSymbolStatement()
{
    CompileStatement(*this);
}
// SETCOUNTER channel [, mode]
void CParser::SetCounterStatement()
{
    CompileStatement(*this);
}
// SETDISPLAY type [, interface]
void CParser::SetDisplayStatement()
{
    CompileStatement(*this);
}
// SETNETWORK kind [, baudrate]
void CParser::SetNetworkStatement()
{
    CompileStatement(*this);
}
// SETSTEPPER motor, mode
void CParser::SetStepperStatement()
{
    CompileStatement(*this);
}
