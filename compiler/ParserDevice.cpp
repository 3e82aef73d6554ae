// Ports, buses, the modem, sound and the SET... statements.
#include "Parser.h"

void CParser::PokeStatement() { NotCompiledYet(); }
void CParser::SendStatement() { NotCompiledYet(); }
void CParser::RecvStatement() { NotCompiledYet(); }
void CParser::I2cInStatement() { NotCompiledYet(); }
void CParser::I2cOutStatement() { NotCompiledYet(); }
void CParser::SpiShiftStatement() { NotCompiledYet(); }
void CParser::InitGsmStatement() { NotCompiledYet(); }
void CParser::SendSmsStatement() { NotCompiledYet(); }
void CParser::RecvSmsStatement() { NotCompiledYet(); }
void CParser::StandbyStatement() { NotCompiledYet(); }
void CParser::SoundStatement() { NotCompiledYet(); }
void CParser::PauseStatement() { NotCompiledYet(); }
void CParser::SetComStatement() { NotCompiledYet(); }
void CParser::SetPwmStatement() { NotCompiledYet(); }
void CParser::SetPortStatement() { NotCompiledYet(); }
void CParser::SetDriveStatement() { NotCompiledYet(); }
void CParser::SetClockStatement() { NotCompiledYet(); }
void CParser::SetKeypadStatement() { NotCompiledYet(); }
void CParser::SetSymbolStatement() { NotCompiledYet(); }
void CParser::SetCounterStatement() { NotCompiledYet(); }
void CParser::SetDisplayStatement() { NotCompiledYet(); }
void CParser::SetNetworkStatement() { NotCompiledYet(); }
void CParser::SetStepperStatement() { NotCompiledYet(); }
