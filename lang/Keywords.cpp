#include "lang/Keywords.h"

#include "lang/CharClass.h"

#include <algorithm>

namespace velmo::lang {

namespace {

using C = WordClass;

// clang-format off
constexpr KeywordInfo kKeywords[] = {
  {"IF", symIF, 0x80, -1, C::Keyword},          {"THEN", symTHEN, 0x81, -1, C::Keyword},
  {"ELSE", symELSE, 0x82, -1, C::Keyword},      {"ELSIF", symELSIF, 0x83, -1, C::Keyword},
  {"ENDIF", symENDIF, 0x84, -1, C::Keyword},    {"FOR", symFOR, 0x85, -1, C::Keyword},
  {"TO", symTO, 0x86, -1, C::Keyword},          {"STEP", symSTEP, 0x87, -1, C::Keyword},
  {"NEXT", symNEXT, 0x88, -1, C::Keyword},      {"WHILE", symWHILE, 0x89, -1, C::Keyword},
  {"WEND", symWEND, 0x8A, -1, C::Keyword},      {"DO", symDO, 0x8B, -1, C::Keyword},
  {"LOOP", symLOOP, 0x8C, -1, C::Keyword},      {"EXIT", symEXIT, 0x8D, -1, C::Keyword},
  {"ON", symON, 0x8E, -1, C::Keyword},          {"GOTO", symGOTO, 0x8F, -1, C::Keyword},
  {"GOSUB", symGOSUB, 0x90, -1, C::Keyword},    {"RETURN", symRETURN, 0x91, -1, C::Keyword},
  {"DATA", symDATA, 0x92, -1, C::Keyword},      {"READ", symREAD, 0x93, -1, C::Keyword},
  {"RESTORE", symRESTORE, 0x94, -1, C::Keyword},{"LOAD", symLOAD, 0x95, -1, C::Keyword},
  {"STORE", symSTORE, 0x96, -1, C::Keyword},    {"WAIT", symWAIT, 0x97, -1, C::Keyword},
  {"OPEN", symOPEN, 0x98, -1, C::Command},      {"CLOSE", symCLOSE, 0x99, -1, C::Command},
  {"END", symEND, 0x9A, -1, C::Keyword},        {"INC", symINC, 0x9B, -1, C::Command},
  {"DEC", symDEC, 0x9C, -1, C::Command},        {"PUT", symPUT, 0x9D, -1, C::Command},
  {"GET", symGET, 0x9E, -1, C::Command},        {"CLS", symCLS, 0x9F, -1, C::Command},
  {"POKE", symPOKE, 0xA0, -1, C::Command},      {"SEND", symSEND, 0xA1, -1, C::Command},
  {"RECV", symRECV, 0xA2, -1, C::Command},      {"MOVE", symMOVE, 0xA3, -1, C::Command},
  {"FONT", symFONT, 0xA4, -1, C::Command},      {"COLOR", symCOLOR, 0xA5, -1, C::Command},
  {"SOUND", symSOUND, 0xA6, -1, C::Command},    {"PAUSE", symPAUSE, 0xA7, -1, C::Command},
  {"FLUSH", symFLUSH, 0xA8, -1, C::Command},    {"INPUT", symINPUT, 0xA9, -1, C::Command},
  {"PRINT", symPRINT, 0xAA, -1, C::Command},    {"I2CIN", symI2CIN, 0xAB, -1, C::Command},
  {"I2COUT", symI2COUT, 0xAC, -1, C::Command},
  {"PLOT", symPLOT, 0xAD, 0, C::Command},       {"DRAW", symDRAW, 0xAD, 1, C::Command},
  {"FRAME", symFRAME, 0xAD, 2, C::Command},     {"SCROLL", symSCROLL, 0xAD, 3, C::Command},
  {"CIRCLE", symCIRCLE, 0xAD, 4, C::Command},   {"PICTURE", symPICTURE, 0xAD, 5, C::Command},
  {"BARGRAPH", symBARGRAPH, 0xAD, 6, C::Command},
  {"SETCOM", symSETCOM, 0xAE, -1, C::Command},  {"SETPWM", symSETPWM, 0xAF, -1, C::Command},
  {"SETPORT", symSETPORT, 0xB0, -1, C::Command},{"STANDBY", symSTANDBY, 0xB1, -1, C::Command},
  {"SPISHIFT", symSPISHIFT, 0xB2, -1, C::Command},   {"SETDRIVE", symSETDRIVE, 0xB3, -1, C::Command},
  {"SETCLOCK", symSETCLOCK, 0xB4, -1, C::Command},   {"SETKEYPAD", symSETKEYPAD, 0xB5, -1, C::Command},
  {"SETCOUNTER", symSETCOUNTER, 0xB6, -1, C::Command}, {"SETDISPLAY", symSETDISPLAY, 0xB7, -1, C::Command},
  {"SETNETWORK", symSETNETWORK, 0xB8, -1, C::Command}, {"SETSTEPPER", symSETSTEPPER, 0xB9, -1, C::Command},
  {"SETSYMBOL", symSETSYMBOL, 0xBA, -1, C::Command},   {"FIND", symFIND, 0xBB, -1, C::Command},
  {"INITGSM", symINITGSM, 0xBC, -1, C::Command},       {"SENDSMS", symSENDSMS, 0xBD, -1, C::Command},
  {"RECVSMS", symRECVSMS, 0xBE, -1, C::Command},
  {"CHAR", symCHAR, 0xC1, -1, C::Type},      {"BYTE", symBYTE, 0xC2, -1, C::Type},
  {"WORD", symWORD, 0xC3, -1, C::Type},      {"INTEGER", symINTEGER, 0xC4, -1, C::Type},
  {"LONG", symLONG, 0xC5, -1, C::Type},      {"FLOAT", symFLOAT, 0xC6, -1, C::Type},
  {"PI", symPI, 0xC7, -1, C::Constant},          {"RXD", symRXD, 0xC8, -1, C::Variable},
  {"MSG", symMSG, 0xC9, -1, C::Variable},
  {"ADC0", TSYMBOL(symADC0 + 0), 0xCA, 0, C::Variable}, {"ADC1", TSYMBOL(symADC0 + 1), 0xCA, 1, C::Variable},
  {"ADC2", TSYMBOL(symADC0 + 2), 0xCA, 2, C::Variable}, {"ADC3", TSYMBOL(symADC0 + 3), 0xCA, 3, C::Variable},
  {"ADC4", TSYMBOL(symADC0 + 4), 0xCA, 4, C::Variable}, {"ADC5", TSYMBOL(symADC0 + 5), 0xCA, 5, C::Variable},
  {"ADC6", TSYMBOL(symADC0 + 6), 0xCA, 6, C::Variable}, {"ADC7", TSYMBOL(symADC0 + 7), 0xCA, 7, C::Variable},
  {"PWM0", TSYMBOL(symPWM0 + 0), 0xCB, 0, C::Variable}, {"PWM1", TSYMBOL(symPWM0 + 1), 0xCB, 1, C::Variable},
  {"PWM2", TSYMBOL(symPWM0 + 2), 0xCB, 2, C::Variable}, {"PWM3", TSYMBOL(symPWM0 + 3), 0xCB, 3, C::Variable},
  {"PWM4", TSYMBOL(symPWM0 + 4), 0xCB, 4, C::Variable}, {"PWM5", TSYMBOL(symPWM0 + 5), 0xCB, 5, C::Variable},
  {"PWM6", TSYMBOL(symPWM0 + 6), 0xCB, 6, C::Variable}, {"PWM7", TSYMBOL(symPWM0 + 7), 0xCB, 7, C::Variable},
  {"PORT0", TSYMBOL(symPORT0 + 0), 0xCC, 0, C::Variable}, {"PORT1", TSYMBOL(symPORT0 + 1), 0xCC, 1, C::Variable},
  {"PORT2", TSYMBOL(symPORT0 + 2), 0xCC, 2, C::Variable}, {"PORT3", TSYMBOL(symPORT0 + 3), 0xCC, 3, C::Variable},
  {"PORT4", TSYMBOL(symPORT0 + 4), 0xCC, 4, C::Variable}, {"PORT5", TSYMBOL(symPORT0 + 5), 0xCC, 5, C::Variable},
  {"PORT6", TSYMBOL(symPORT0 + 6), 0xCC, 6, C::Variable}, {"PORT7", TSYMBOL(symPORT0 + 7), 0xCC, 7, C::Variable},
  {"PORT8", TSYMBOL(symPORT0 + 8), 0xCC, 8, C::Variable}, {"PORT9", TSYMBOL(symPORT0 + 9), 0xCC, 9, C::Variable},
  {"TIMER0", TSYMBOL(symTIMER0 + 0), 0xCD, 0, C::Variable}, {"TIMER1", TSYMBOL(symTIMER0 + 1), 0xCD, 1, C::Variable},
  {"TIMER2", TSYMBOL(symTIMER0 + 2), 0xCD, 2, C::Variable}, {"TIMER3", TSYMBOL(symTIMER0 + 3), 0xCD, 3, C::Variable},
  {"COUNTER0", TSYMBOL(symCOUNTER0 + 0), 0xCF, 0, C::Variable}, {"COUNTER1", TSYMBOL(symCOUNTER0 + 1), 0xCF, 1, C::Variable},
  {"COUNTER2", TSYMBOL(symCOUNTER0 + 2), 0xCF, 2, C::Variable}, {"COUNTER3", TSYMBOL(symCOUNTER0 + 3), 0xCF, 3, C::Variable},
  {"KEYCODE", symKEYCODE, 0xD0, -1, C::Variable}, {"IRCODE", symIRCODE, 0xD1, -1, C::Variable},
  {"ERR", symERR, 0xD2, -1, C::Variable},
  {"STEPPER0", TSYMBOL(symSTEPPER0 + 0), 0xD3, 0, C::Variable}, {"STEPPER1", TSYMBOL(symSTEPPER0 + 1), 0xD3, 1, C::Variable},
  {"STEPPER2", TSYMBOL(symSTEPPER0 + 2), 0xD3, 2, C::Variable}, {"STEPPER3", TSYMBOL(symSTEPPER0 + 3), 0xD3, 3, C::Variable},
  {"SPEED", symSPEED, 0xD4, -1, C::Variable},    {"STEPS", symSTEPS, 0xD5, -1, C::Variable},
  {"TIME", symTIME, 0xD6, -1, C::Variable},      {"SECOND", symSECOND, 0xD7, -1, C::Variable},
  {"MINUTE", symMINUTE, 0xD8, -1, C::Variable},  {"HOUR", symHOUR, 0xD9, -1, C::Variable},
  {"DATE", symDATE, 0xDA, -1, C::Variable},      {"DAY", symDAY, 0xDB, -1, C::Variable},
  {"MONTH", symMONTH, 0xDC, -1, C::Variable},    {"YEAR", symYEAR, 0xDD, -1, C::Variable},
  {"DEG", symDEG, 0xDE, -1, C::Function},        {"RAD", symRAD, 0xDF, -1, C::Function},
  {"SIN", symSIN, 0xE0, -1, C::Function},        {"COS", symCOS, 0xE1, -1, C::Function},
  {"TAN", symTAN, 0xE2, -1, C::Function},        {"ATN", symATN, 0xE3, -1, C::Function},
  {"SQR", symSQR, 0xE4, -1, C::Function},        {"EXP", symEXP, 0xE5, -1, C::Function},
  {"LOG", symLOG, 0xE6, -1, C::Function},        {"LO", symLO, 0xE7, -1, C::Function},
  {"HI", symHI, 0xE8, -1, C::Function},          {"ABS", symABS, 0xE9, -1, C::Function},
  {"INT", symINT, 0xEA, -1, C::Function},        {"PEEK", symPEEK, 0xEB, -1, C::Function},
  {"ROUND", symROUND, 0xEC, -1, C::Function},    {"MIN", symMIN, 0xED, -1, C::Function},
  {"MAX", symMAX, 0xEE, -1, C::Function},        {"POW", symPOW, 0xEF, -1, C::Function},
  {"LEN", symLEN, 0xF0, -1, C::Function},        {"VAL", symVAL, 0xF1, -1, C::Function},
  {"POS", symPOS, 0xF2, -1, C::Function},        {"EOF", symEOF, 0xF3, -1, C::Function},
  {"POINT", symPOINT, 0xF4, -1, C::Function},    {"USR", symUSR, 0xF7, -1, C::Function},
  {"CR", symCR, 0xF8, -1, C::Constant},          {"NL", symNL, 0xF9, -1, C::Constant},
  {"TAB", symTAB, 0xFA, -1, C::Format},        {"SPC", symSPC, 0xFB, -1, C::Format},
  {"CHR", symCHR, 0xFC, -1, C::Format},        {"HEX", symHEX, 0xFD, -1, C::Format},
  {"USING", symUSING, 0xFE, -1, C::Format},
  // Keywords never written as a token code.
  {"MOD", symMod, -1, -1, C::Operator},          {"OR", symOr, -1, -1, C::Operator},
  {"XOR", symXor, -1, -1, C::Operator},          {"AND", symAnd, -1, -1, C::Operator},
  {"NOT", symNot, -1, -1, C::Operator},          {"AS", symAs, -1, -1, C::Keyword},
  {"OUTPUT", symOUTPUT, -1, -1, C::Keyword},    {"APPEND", symAPPEND, -1, -1, C::FileMode},
  // Directives: recognised only while a line's directive flag is set.
  {"#IFDEF", symDirIFDEF, -1, -1, C::Directive},  {"#IFNDEF", symDirIFNDEF, -1, -1, C::Directive},
  {"#ELSE", symDirELSE, -1, -1, C::Directive},    {"#ENDIF", symDirENDIF, -1, -1, C::Directive},
  {"#DEFINE", symDirDEFINE, -1, -1, C::Directive},{"#UNDEF", symDirUNDEF, -1, -1, C::Directive},
  {"#TARGET", symDirTARGET, -1, -1, C::Directive},{"#INCLUDE", symDirINCLUDE, -1, -1, C::Directive},
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
static_assert(std::ranges::all_of(kTokenTexts, [](std::string_view text) { return text.size() <= kLongestTokenText; }));
static_assert(symSTEPPER3 + 1 == symSPEED && symDirINCLUDE == 202);

} // namespace

constexpr size_t CKeywords::Slot(std::string_view word)
{
    const size_t first = static_cast<unsigned char>(UpperAscii(word.front()));
    const size_t last = static_cast<unsigned char>(UpperAscii(word.back()));
    return (first * 61 + last * 7 + word.size() * 131) % kSlots;
}

constexpr CKeywords::CKeywords()
{
    for (const KeywordInfo &k : kKeywords) {
        size_t slot = Slot(k.name);
        while (m_slots[slot])
            slot = (slot + 1) % kSlots;
        m_slots[slot] = &k;
        m_lengths[slot] = static_cast<uint8_t>(std::string_view(k.name).size());
        m_longest = std::max(m_longest, std::string_view(k.name).size());
        m_bySymbol[k.symbol] = &k;
        if (k.token >= 0 && k.number <= 0)
            m_byToken[k.token] = &k;
    }
}

const CKeywords &CKeywords::Instance()
{
    static constexpr CKeywords keywords;
    return keywords;
}

std::span<const KeywordInfo> CKeywords::All() const
{
    return kKeywords;
}

const KeywordInfo *CKeywords::ByToken(int code, int number) const
{
    if (code < 0 || code > 0xFF || !m_byToken[code])
        return nullptr;
    const KeywordInfo *first = m_byToken[code];
    if (number < 0)
        return first;
    // The members of a family follow their first one in the table.
    const auto end = std::end(kKeywords);
    for (const KeywordInfo *k = first; k != end && k->token == code; ++k) {
        if (k->number == number)
            return k;
    }
    return nullptr;
}

const KeywordInfo *CKeywords::Find(const std::string &upperWord) const
{
    for (const char c : upperWord) {
        if (c >= 'a' && c <= 'z')
            return nullptr;
    }
    return FindWord(upperWord);
}

const KeywordInfo *CKeywords::FindWord(std::string_view word) const
{
    if (word.empty() || word.size() > m_longest)
        return nullptr;
    for (size_t slot = Slot(word); m_slots[slot]; slot = (slot + 1) % kSlots) {
        if (m_lengths[slot] == word.size() && EqualNoCase(std::string_view(m_slots[slot]->name, word.size()), word))
            return m_slots[slot];
    }
    return nullptr;
}

const KeywordInfo *CKeywords::Info(int symbol) const
{
    return symbol >= 0 && symbol < symCount ? m_bySymbol[symbol] : nullptr;
}

bool IsReservedWordClass(WordClass wordClass)
{
    switch (wordClass) {
    case C::Type:
    case C::Format:
    case C::Keyword:
    case C::Command:
    case C::Operator:
    case C::Constant:
        return true;
    default:
        return false;
    }
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

const char *KeywordName(int symbol)
{
    const KeywordInfo *info = CKeywords::Instance().Info(symbol);
    return info ? info->name : "";
}

} // namespace velmo::lang
