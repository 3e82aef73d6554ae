// The scanner's symbols. Values 0..32 are operators, constants and
// punctuation; 33..202 are the keywords. Statement routines rely on two
// properties of this numbering: the numbered keywords of one family are
// consecutive (symPWM0 + 5 is PWM5) and every keyword is above 32.
#pragma once

enum TSYMBOL : int {
  symEndOfLine = 0, symBadDirective, symInteger, symIdent, symFloat, symString,
  symPlus, symMinus, symTimes, symDivide, symMod, symOr, symXor, symAnd, symNot,
  symEqual, symNotEqual, symLess, symGreater, symLessEqual, symGreaterEqual,
  symShiftLeft, symShiftRight, symLParen, symRParen, symLBracket, symRBracket,
  symAs, symPeriod, symComma, symColon, symHash, symRange,

  symIF = 33, symTHEN, symELSE, symELSIF, symENDIF, symWHILE, symWEND, symFOR,
  symTO, symSTEP, symNEXT, symDO, symLOOP, symEXIT, symON, symGOTO, symGOSUB,
  symRETURN, symDATA, symREAD, symRESTORE, symLOAD, symSTORE, symWAIT, symPUT,
  symGET, symFIND, symOPEN, symCLOSE, symFLUSH, symPRINT, symINPUT, symOUTPUT,
  symAPPEND, symEND, symINC, symDEC, symCLS, symPOKE, symSEND, symRECV, symMOVE,
  symFONT, symCOLOR, symSOUND, symPAUSE, symI2CIN, symI2COUT, symINITGSM,
  symSENDSMS, symRECVSMS, symSTANDBY, symSPISHIFT, symSETCOM, symSETPWM,
  symSETPORT, symSETDRIVE, symSETCLOCK, symSETKEYPAD, symSETSYMBOL,
  symSETCOUNTER, symSETDISPLAY, symSETNETWORK, symSETSTEPPER,
  symPLOT, symDRAW, symFRAME, symSCROLL, symCIRCLE, symPICTURE, symBARGRAPH,
  symCHAR, symBYTE, symWORD, symINTEGER, symLONG, symFLOAT,
  symPI, symRXD, symMSG, symERR, symIRCODE, symKEYCODE,
  symPWM0 = 116, symADC0 = 124, symPORT0 = 132, symTIMER0 = 142,
  symCOUNTER0 = 146, symSTEPPER0 = 150,
  symSPEED = 154, symSTEPS, symTIME, symHOUR, symMINUTE, symSECOND, symDATE,
  symYEAR, symMONTH, symDAY, symDEG, symRAD, symSIN, symCOS, symTAN, symATN,
  symSQR, symEXP, symLOG, symPOW, symLO, symHI, symABS, symINT, symLEN, symVAL,
  symPOS, symMIN, symMAX, symPEEK, symROUND, symEOF, symPOINT, symUSR, symCR,
  symNL, symTAB, symSPC, symCHR, symHEX, symUSING,
  symDirIFDEF = 195, symDirIFNDEF, symDirELSE, symDirENDIF, symDirDEFINE,
  symDirUNDEF, symDirTARGET, symDirINCLUDE,

  // Not a keyword: a character that no rule of the scanner accepts (for
  // example "@", "?", ";" or a byte of 0x80 and above outside a string).
  // Statement routines meet it like any unexpected symbol and report it.
  symInvalid = 203,
  symCount
};

// Last member of each numbered family.
constexpr int symPWM7 = symPWM0 + 7;
constexpr int symADC7 = symADC0 + 7;
constexpr int symPORT9 = symPORT0 + 9;
constexpr int symTIMER3 = symTIMER0 + 3;
constexpr int symCOUNTER3 = symCOUNTER0 + 3;
constexpr int symSTEPPER3 = symSTEPPER0 + 3;

inline bool IsKeyword(int symbol) { return symbol >= symIF && symbol <= symDirINCLUDE; }
