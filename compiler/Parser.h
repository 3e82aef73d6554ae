// CParser - the statement compiler.
//
// Developer note: where a statement routine goes.
//   * Statements.cpp holds the one dispatch table: first symbol of a
//     statement -> the routine that compiles it. Every statement keyword
//     already has its entry there and its routine is declared below.
//   * The routines of one family live in that family's file:
//       ParserDeclarations.cpp  variables, declarations, assignments, labels
//       ParserExpressions.cpp   expressions and system variables
//       ParserControl.cpp       IF/FOR/WHILE/DO, jumps, END, the closing check
//       ParserIO.cpp            data list, files and devices, PRINT, INPUT
//       ParserDevice.cpp        ports, buses, modem, sound, SET... statements
//       ParserDisplay.cpp       CLS, MOVE, FONT, COLOR and the graphics statements
//       StatementSyntax.cpp     the argument lists of the last three families
//   * A routine starts with the current symbol on its first keyword, writes
//     through m_code, advances only through NextSymbol() and reports only
//     through Error(). Helpers used by one family only go into that family's
//     file as functions in an anonymous namespace taking a CParser&.
//   * Every file matching compiler/*.cpp is built into velc_core; a new
//     file needs no build-script change.
#pragma once

#include "Blocks.h"
#include "LanguageNames.h"
#include "NoCase.h"
#include "Scanner.h"
#include "Source.h"
#include "Variables.h"

#include <string>
#include <unordered_map>

class CCode;
class CCompiler;

class CParser {
public:
    explicit CParser(CCompiler &compiler);

    // --- The statement loop (Parser.cpp) ---------------------------------
    void CompileLine(int index, const CLine &line);
    void Finish(int lineCount);
    void StatementList(bool conditional);
    void Statement(bool conditional);

    TSYMBOL Symbol() const
    {
        return m_scan.m_symbol;
    }
    void NextSymbol();
    void Expect(TSYMBOL symbol, char character);
    void ExpectKeyword(TSYMBOL symbol, int tokenCode);
    void Error(const std::string &text, int line = -1);

    // --- Variables, declarations, labels (ParserDeclarations.cpp) ---------
    void Declaration();
    void Assignment();
    void IncDec(int token);
    void VariableRef(CVarInfo &info, bool noArray);
    void VariableList();
    void StringVariable();
    void LabelRef();
    void LabelList();

    // --- Expressions and system variables (ParserExpressions.cpp) ---------
    void Condition();
    void Expression();
    void Term(CVarInfo &info);
    void Factor(CVarInfo &info);
    void SysVarAssignment();

    // --- Control flow (ParserControl.cpp) ---------------------------------
    void IfStatement();
    void ElsifStatement();
    void ElseStatement();
    void EndifStatement();
    void ForStatement();
    void NextStatement(bool conditional);
    void WhileStatement();
    void WendStatement(bool conditional);
    void DoStatement();
    void LoopStatement(bool conditional);
    void ExitStatement();
    void ReturnStatement();
    void GotoStatement(int token); // GOTO 0x8F, GOSUB 0x90
    void OnStatement();
    void EndStatement();
    void CloseBlocks(); // reports every block still open; run by Finish

    // --- Data list, files and devices (ParserIO.cpp) ----------------------
    void Device(bool comma);
    void StringArgument();
    void PrintItem();
    void DataStatement();
    void ReadStatement();
    void RestoreStatement();
    void LoadStatement();
    void StoreStatement();
    void WaitStatement();
    void OpenStatement();
    void CloseStatement();
    void FlushStatement();
    void PrintStatement();
    void InputStatement();
    void PutStatement();
    void GetStatement();
    void FindStatement();

    // --- Ports, buses, modem, sound, settings (ParserDevice.cpp) ----------
    void PokeStatement();
    void SendStatement();
    void RecvStatement();
    void I2cInStatement();
    void I2cOutStatement();
    void SpiShiftStatement();
    void InitGsmStatement();
    void SendSmsStatement();
    void RecvSmsStatement();
    void StandbyStatement();
    void SoundStatement();
    void PauseStatement();
    void SetComStatement();
    void SetPwmStatement();
    void SetPortStatement();
    void SetDriveStatement();
    void SetClockStatement();
    void SetKeypadStatement();
    void SetSymbolStatement();
    void SetCounterStatement();
    void SetDisplayStatement();
    void SetNetworkStatement();
    void SetStepperStatement();

    // --- Display (ParserDisplay.cpp) --------------------------------------
    void ClsStatement();
    void MoveStatement();
    void FontStatement();
    void ColorStatement();
    void GraphicsStatement(int subCode); // PLOT 0 .. BARGRAPH 6, token 0xAD

    // --- State -------------------------------------------------------------
    CLine m_line; // copy of the line being compiled
    ScanState &m_scan; // the run's scanner state
    NoCaseMap<int> &m_labels;
    CCompiler &m_compiler;
    TargetProfile &m_target;
    CCode &m_code;
    CStmtList m_blocks;
    CVarList m_vars;
    // Nesting of expressions and one-line IFs in the line being compiled (Nesting.h).
    int m_nesting = 0;
    bool m_nestingOverflow = false;
};
