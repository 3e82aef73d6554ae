#include "Keywords.h"

#include "NoCase.h"

#include <algorithm>

namespace {

// clang-format off
constexpr KeywordInfo kKeywords[] = {
  {"IF", symIF, 0x80, -1},          {"THEN", symTHEN, 0x81, -1},
  {"ELSE", symELSE, 0x82, -1},      {"ELSIF", symELSIF, 0x83, -1},
  {"ENDIF", symENDIF, 0x84, -1},    {"FOR", symFOR, 0x85, -1},
  {"TO", symTO, 0x86, -1},          {"STEP", symSTEP, 0x87, -1},
  {"NEXT", symNEXT, 0x88, -1},      {"WHILE", symWHILE, 0x89, -1},
  {"WEND", symWEND, 0x8A, -1},      {"DO", symDO, 0x8B, -1},
  {"LOOP", symLOOP, 0x8C, -1},      {"EXIT", symEXIT, 0x8D, -1},
  {"ON", symON, 0x8E, -1},          {"GOTO", symGOTO, 0x8F, -1},
  {"GOSUB", symGOSUB, 0x90, -1},    {"RETURN", symRETURN, 0x91, -1},
  {"DATA", symDATA, 0x92, -1},      {"READ", symREAD, 0x93, -1},
  {"RESTORE", symRESTORE, 0x94, -1},{"LOAD", symLOAD, 0x95, -1},
  {"STORE", symSTORE, 0x96, -1},    {"WAIT", symWAIT, 0x97, -1},
  {"OPEN", symOPEN, 0x98, -1},      {"CLOSE", symCLOSE, 0x99, -1},
  {"END", symEND, 0x9A, -1},        {"INC", symINC, 0x9B, -1},
  {"DEC", symDEC, 0x9C, -1},        {"PUT", symPUT, 0x9D, -1},
  {"GET", symGET, 0x9E, -1},        {"CLS", symCLS, 0x9F, -1},
  {"POKE", symPOKE, 0xA0, -1},      {"SEND", symSEND, 0xA1, -1},
  {"RECV", symRECV, 0xA2, -1},      {"MOVE", symMOVE, 0xA3, -1},
  {"FONT", symFONT, 0xA4, -1},      {"COLOR", symCOLOR, 0xA5, -1},
  {"SOUND", symSOUND, 0xA6, -1},    {"PAUSE", symPAUSE, 0xA7, -1},
  {"FLUSH", symFLUSH, 0xA8, -1},    {"INPUT", symINPUT, 0xA9, -1},
  {"PRINT", symPRINT, 0xAA, -1},    {"I2CIN", symI2CIN, 0xAB, -1},
  {"I2COUT", symI2COUT, 0xAC, -1},
  {"PLOT", symPLOT, 0xAD, 0},       {"DRAW", symDRAW, 0xAD, 1},
  {"FRAME", symFRAME, 0xAD, 2},     {"SCROLL", symSCROLL, 0xAD, 3},
  {"CIRCLE", symCIRCLE, 0xAD, 4},   {"PICTURE", symPICTURE, 0xAD, 5},
  {"BARGRAPH", symBARGRAPH, 0xAD, 6},
  {"SETCOM", symSETCOM, 0xAE, -1},  {"SETPWM", symSETPWM, 0xAF, -1},
  {"SETPORT", symSETPORT, 0xB0, -1},{"STANDBY", symSTANDBY, 0xB1, -1},
  {"SPISHIFT", symSPISHIFT, 0xB2, -1},   {"SETDRIVE", symSETDRIVE, 0xB3, -1},
  {"SETCLOCK", symSETCLOCK, 0xB4, -1},   {"SETKEYPAD", symSETKEYPAD, 0xB5, -1},
  {"SETCOUNTER", symSETCOUNTER, 0xB6, -1}, {"SETDISPLAY", symSETDISPLAY, 0xB7, -1},
  {"SETNETWORK", symSETNETWORK, 0xB8, -1}, {"SETSTEPPER", symSETSTEPPER, 0xB9, -1},
  {"SETSYMBOL", symSETSYMBOL, 0xBA, -1},   {"FIND", symFIND, 0xBB, -1},
  {"INITGSM", symINITGSM, 0xBC, -1},       {"SENDSMS", symSENDSMS, 0xBD, -1},
  {"RECVSMS", symRECVSMS, 0xBE, -1},
  {"CHAR", symCHAR, 0xC1, -1},      {"BYTE", symBYTE, 0xC2, -1},
  {"WORD", symWORD, 0xC3, -1},      {"INTEGER", symINTEGER, 0xC4, -1},
  {"LONG", symLONG, 0xC5, -1},      {"FLOAT", symFLOAT, 0xC6, -1},
  {"PI", symPI, 0xC7, -1},          {"RXD", symRXD, 0xC8, -1},
  {"MSG", symMSG, 0xC9, -1},
  {"ADC0", TSYMBOL(symADC0 + 0), 0xCA, 0}, {"ADC1", TSYMBOL(symADC0 + 1), 0xCA, 1},
  {"ADC2", TSYMBOL(symADC0 + 2), 0xCA, 2}, {"ADC3", TSYMBOL(symADC0 + 3), 0xCA, 3},
  {"ADC4", TSYMBOL(symADC0 + 4), 0xCA, 4}, {"ADC5", TSYMBOL(symADC0 + 5), 0xCA, 5},
  {"ADC6", TSYMBOL(symADC0 + 6), 0xCA, 6}, {"ADC7", TSYMBOL(symADC0 + 7), 0xCA, 7},
  {"PWM0", TSYMBOL(symPWM0 + 0), 0xCB, 0}, {"PWM1", TSYMBOL(symPWM0 + 1), 0xCB, 1},
  {"PWM2", TSYMBOL(symPWM0 + 2), 0xCB, 2}, {"PWM3", TSYMBOL(symPWM0 + 3), 0xCB, 3},
  {"PWM4", TSYMBOL(symPWM0 + 4), 0xCB, 4}, {"PWM5", TSYMBOL(symPWM0 + 5), 0xCB, 5},
  {"PWM6", TSYMBOL(symPWM0 + 6), 0xCB, 6}, {"PWM7", TSYMBOL(symPWM0 + 7), 0xCB, 7},
  {"PORT0", TSYMBOL(symPORT0 + 0), 0xCC, 0}, {"PORT1", TSYMBOL(symPORT0 + 1), 0xCC, 1},
  {"PORT2", TSYMBOL(symPORT0 + 2), 0xCC, 2}, {"PORT3", TSYMBOL(symPORT0 + 3), 0xCC, 3},
  {"PORT4", TSYMBOL(symPORT0 + 4), 0xCC, 4}, {"PORT5", TSYMBOL(symPORT0 + 5), 0xCC, 5},
  {"PORT6", TSYMBOL(symPORT0 + 6), 0xCC, 6}, {"PORT7", TSYMBOL(symPORT0 + 7), 0xCC, 7},
  {"PORT8", TSYMBOL(symPORT0 + 8), 0xCC, 8}, {"PORT9", TSYMBOL(symPORT0 + 9), 0xCC, 9},
  {"TIMER0", TSYMBOL(symTIMER0 + 0), 0xCD, 0}, {"TIMER1", TSYMBOL(symTIMER0 + 1), 0xCD, 1},
  {"TIMER2", TSYMBOL(symTIMER0 + 2), 0xCD, 2}, {"TIMER3", TSYMBOL(symTIMER0 + 3), 0xCD, 3},
  {"COUNTER0", TSYMBOL(symCOUNTER0 + 0), 0xCF, 0}, {"COUNTER1", TSYMBOL(symCOUNTER0 + 1), 0xCF, 1},
  {"COUNTER2", TSYMBOL(symCOUNTER0 + 2), 0xCF, 2}, {"COUNTER3", TSYMBOL(symCOUNTER0 + 3), 0xCF, 3},
  {"KEYCODE", symKEYCODE, 0xD0, -1}, {"IRCODE", symIRCODE, 0xD1, -1},
  {"ERR", symERR, 0xD2, -1},
  {"STEPPER0", TSYMBOL(symSTEPPER0 + 0), 0xD3, 0}, {"STEPPER1", TSYMBOL(symSTEPPER0 + 1), 0xD3, 1},
  {"STEPPER2", TSYMBOL(symSTEPPER0 + 2), 0xD3, 2}, {"STEPPER3", TSYMBOL(symSTEPPER0 + 3), 0xD3, 3},
  {"SPEED", symSPEED, 0xD4, -1},    {"STEPS", symSTEPS, 0xD5, -1},
  {"TIME", symTIME, 0xD6, -1},      {"SECOND", symSECOND, 0xD7, -1},
  {"MINUTE", symMINUTE, 0xD8, -1},  {"HOUR", symHOUR, 0xD9, -1},
  {"DATE", symDATE, 0xDA, -1},      {"DAY", symDAY, 0xDB, -1},
  {"MONTH", symMONTH, 0xDC, -1},    {"YEAR", symYEAR, 0xDD, -1},
  {"DEG", symDEG, 0xDE, -1},        {"RAD", symRAD, 0xDF, -1},
  {"SIN", symSIN, 0xE0, -1},        {"COS", symCOS, 0xE1, -1},
  {"TAN", symTAN, 0xE2, -1},        {"ATN", symATN, 0xE3, -1},
  {"SQR", symSQR, 0xE4, -1},        {"EXP", symEXP, 0xE5, -1},
  {"LOG", symLOG, 0xE6, -1},        {"LO", symLO, 0xE7, -1},
  {"HI", symHI, 0xE8, -1},          {"ABS", symABS, 0xE9, -1},
  {"INT", symINT, 0xEA, -1},        {"PEEK", symPEEK, 0xEB, -1},
  {"ROUND", symROUND, 0xEC, -1},    {"MIN", symMIN, 0xED, -1},
  {"MAX", symMAX, 0xEE, -1},        {"POW", symPOW, 0xEF, -1},
  {"LEN", symLEN, 0xF0, -1},        {"VAL", symVAL, 0xF1, -1},
  {"POS", symPOS, 0xF2, -1},        {"EOF", symEOF, 0xF3, -1},
  {"POINT", symPOINT, 0xF4, -1},    {"USR", symUSR, 0xF7, -1},
  {"CR", symCR, 0xF8, -1},          {"NL", symNL, 0xF9, -1},
  {"TAB", symTAB, 0xFA, -1},        {"SPC", symSPC, 0xFB, -1},
  {"CHR", symCHR, 0xFC, -1},        {"HEX", symHEX, 0xFD, -1},
  {"USING", symUSING, 0xFE, -1},
  // Keywords never written as a token code.
  {"MOD", symMod, -1, -1},          {"OR", symOr, -1, -1},
  {"XOR", symXor, -1, -1},          {"AND", symAnd, -1, -1},
  {"NOT", symNot, -1, -1},          {"AS", symAs, -1, -1},
  {"OUTPUT", symOUTPUT, -1, -1},    {"APPEND", symAPPEND, -1, -1},
  // Directives: recognised only while a line's directive flag is set.
  {"#IFDEF", symDirIFDEF, -1, -1},  {"#IFNDEF", symDirIFNDEF, -1, -1},
  {"#ELSE", symDirELSE, -1, -1},    {"#ENDIF", symDirENDIF, -1, -1},
  {"#DEFINE", symDirDEFINE, -1, -1},{"#UNDEF", symDirUNDEF, -1, -1},
  {"#TARGET", symDirTARGET, -1, -1},{"#INCLUDE", symDirINCLUDE, -1, -1},
};

// Entry k is the listing text of token code 0x80 + k.
constexpr const char* kTokenTexts[127] = {
  "IF ", " THEN ", "ELSE", "ELSIF ", "ENDIF", "FOR ", " TO ", " STEP ",
  "NEXT", "WHILE ", "WEND", "DO", "LOOP", "EXIT", "ON ", "GOTO ",
  "GOSUB ", "RETURN", "DATA ", "READ ", "RESTORE ", "LOAD ", "STORE ", "WAIT ",
  "OPEN ", "CLOSE ", "END", "INC ", "DEC ", "PUT ", "GET ", "CLS",
  "POKE ", "SEND ", "RECV ", "MOVE ", "FONT ", "COLOR ", "SOUND ", "PAUSE ",
  "FLUSH ", "INPUT ", "PRINT ", "I2CIN ", "I2COUT ", "GRAFIX ", "SETCOM ", "SETPWM ",
  "SETPORT ", "STANDBY ", "SPISHIFT ", "SETDRIVE ", "SETCLOCK ", "SETKEYPAD ", "SETCOUNTER ", "SETDISPLAY ",
  "SETNETWORK ", "SETSTEPPER ", "SETSYMBOL ", "FIND ", "INITGSM ", "SENDSMS ", "RECVSMS ", "COMMAND0 ",
  "COMMAND1 ", "CHAR ", "BYTE ", "WORD ", "INTEGER ", "LONG ", "FLOAT ", "PI",
  "RXD", "MSG", "ADC", "PWM", "PORT", "TIMER", "VAR0", "COUNTER",
  "KEYCODE", "IRCODE", "ERR", "STEPPER", "SPEED", "STEPS", "TIME", "SECOND",
  "MINUTE", "HOUR", "DATE", "DAY", "MONTH", "YEAR", "DEG", "RAD",
  "SIN", "COS", "TAN", "ATN", "SQR", "EXP", "LOG", "LO",
  "HI", "ABS", "INT", "PEEK", "ROUND", "MIN", "MAX", "POW",
  "LEN", "VAL", "POS", "EOF", "POINT", "FUNC0", "FUNC1", "USR",
  "CR", "NL", "TAB", "SPC", "CHR", "HEX", "USING",
};
// clang-format on

static_assert(sizeof(kKeywords) / sizeof(kKeywords[0]) == CKeywords::kKeywordCount);
static_assert(symKEYCODE == 115 && symSPEED == 154 && symUSING == 194);
static_assert(symSTEPPER3 + 1 == symSPEED && symDirINCLUDE == 202);

} // namespace

CKeywords::CKeywords()
{
    for (const KeywordInfo &k : kKeywords) {
        size_t slot = Slot(k.name);
        while (m_slots[slot])
            slot = (slot + 1) % kSlots;
        m_slots[slot] = &k;
        m_longest = std::max(m_longest, std::string_view(k.name).size());
        m_bySymbol[k.symbol] = &k;
    }
}

const CKeywords &CKeywords::Instance()
{
    static const CKeywords keywords;
    return keywords;
}

const KeywordInfo *CKeywords::Find(const std::string &upperWord) const
{
    for (const char c : upperWord) {
        if (c >= 'a' && c <= 'z')
            return nullptr;
    }
    return FindWord(upperWord);
}

size_t CKeywords::Slot(std::string_view word)
{
    const size_t first = static_cast<unsigned char>(UpperAscii(word.front()));
    const size_t last = static_cast<unsigned char>(UpperAscii(word.back()));
    return (first * 61 + last * 7 + word.size() * 131) % kSlots;
}

const KeywordInfo *CKeywords::FindWord(std::string_view word) const
{
    if (word.empty() || word.size() > m_longest)
        return nullptr;
    for (size_t slot = Slot(word); m_slots[slot]; slot = (slot + 1) % kSlots) {
        if (NoCaseEqual()(m_slots[slot]->name, word))
            return m_slots[slot];
    }
    return nullptr;
}

const KeywordInfo *CKeywords::Info(int symbol) const
{
    return symbol >= 0 && symbol < symCount ? m_bySymbol[symbol] : nullptr;
}

bool LookupKeyword(std::string_view word, TSYMBOL &symbol)
{
    const KeywordInfo *info = CKeywords::Instance().FindWord(word);
    if (!info)
        return false;
    symbol = info->symbol;
    return true;
}

const char *TokenText(int code)
{
    return code >= 0x80 && code <= 0xFE ? kTokenTexts[code - 0x80] : "";
}

int KeywordToken(int symbol)
{
    const KeywordInfo *info = CKeywords::Instance().Info(symbol);
    return info ? info->token : -1;
}

int KeywordNumber(int symbol)
{
    const KeywordInfo *info = CKeywords::Instance().Info(symbol);
    return info ? info->number : -1;
}
