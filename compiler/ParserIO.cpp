// The data list, files and devices, PRINT and INPUT.
#include "Parser.h"

void CParser::Device(bool /*comma*/) { NotCompiledYet(); }
void CParser::StringArgument() { NotCompiledYet(); }
void CParser::PrintItem() { NotCompiledYet(); }
void CParser::DataStatement() { NotCompiledYet(); }
void CParser::ReadStatement() { NotCompiledYet(); }
void CParser::RestoreStatement() { NotCompiledYet(); }
void CParser::LoadStatement() { NotCompiledYet(); }
void CParser::StoreStatement() { NotCompiledYet(); }
void CParser::WaitStatement() { NotCompiledYet(); }
void CParser::OpenStatement() { NotCompiledYet(); }
void CParser::CloseStatement() { NotCompiledYet(); }
void CParser::FlushStatement() { NotCompiledYet(); }
void CParser::PrintStatement() { NotCompiledYet(); }
void CParser::InputStatement() { NotCompiledYet(); }
void CParser::PutStatement() { NotCompiledYet(); }
void CParser::GetStatement() { NotCompiledYet(); }
void CParser::FindStatement() { NotCompiledYet(); }
