// Expressions and system variables. Expressions are checked for their form
// only and written as text in source order; functions and system variables
// are written as their tokens.
#include "Parser.h"

#include "Code.h"
#include "Compiler.h"
#include "LanguageNames.h"
#include "Nesting.h"

namespace {

// An operator symbol and the characters written for it.
struct Operator {
    TSYMBOL symbol;
    const char *text;
};

constexpr Operator kRelations[] = {
    {symEqual, "="},   {symNotEqual, "<>"},  {symLess, "<"},
    {symGreater, ">"}, {symLessEqual, "<="}, {symGreaterEqual, ">="},
};
constexpr Operator kAdditive[] = {
    {symPlus, "+"},
    {symMinus, "-"},
    {symOr, "|"},
    {symXor, "^"},
};
constexpr Operator kMultiplicative[] = {
    {symTimes, "*"}, {symDivide, "/"}, {symMod, "%"}, {symAnd, "&"}, {symShiftLeft, "<<"}, {symShiftRight, ">>"},
};

template <size_t N> const Operator *Find(const Operator (&level)[N], TSYMBOL symbol)
{
    for (const Operator &op : level) {
        if (op.symbol == symbol)
            return &op;
    }
    return nullptr;
}

// The keyword at hand as its token, with its family number if it has one.
void EmitKeyword(CParser &p)
{
    p.m_code.EmitToken(KeywordToken(p.Symbol()), KeywordNumber(p.Symbol()));
}

// Closing symbols are expected only while the line has not been given up.
void ExpectClosing(CParser &p, TSYMBOL symbol, char character)
{
    if (!p.m_nestingOverflow)
        p.Expect(symbol, character);
}

// {"-" | "+" | NOT} — repeatable; "+" is written as nothing.
void UnaryOperators(CParser &p)
{
    for (;; p.NextSymbol()) {
        if (p.Symbol() == symMinus) {
            p.m_code.EmitByte('-');
        } else if (p.Symbol() == symNot) {
            p.m_code.EmitByte('~');
        } else if (p.Symbol() != symPlus) {
            return;
        }
    }
}

// A string constant of one character stands for its character code.
void CharConstant(CParser &p)
{
    if (p.m_scan.m_text.size() == 1) {
        p.m_code.EmitNumber(static_cast<signed char>(p.m_scan.m_text[0]));
    } else {
        p.Error("Single char expected (not a string).");
    }
    p.NextSymbol();
}

// "(" condition ")"
void Parenthesized(CParser &p)
{
    p.m_code.EmitByte('(');
    p.NextSymbol();
    p.Condition();
    ExpectClosing(p, symRParen, ')');
}

// PORTn "." bit, bit = 0..7
void PortBit(CParser &p)
{
    if (p.Symbol() != symInteger) {
        p.Error("Portbit number expected.");
        return;
    }
    if (p.m_scan.m_intValue >= 0 && p.m_scan.m_intValue <= 7) {
        p.m_code.EmitNumber(p.m_scan.m_intValue);
    } else {
        p.Error("Invalid portbit number.");
    }
    p.NextSymbol();
}

// STEPPERn "." (SPEED | STEPS), TIME "." (HOUR | MINUTE | SECOND),
// DATE "." (YEAR | MONTH | DAY)
void SuffixMember(CParser &p, const SuffixSet &set)
{
    for (TSYMBOL member : set.members) {
        if (p.Symbol() != member)
            continue;
        EmitKeyword(p);
        p.NextSymbol();
        return;
    }
    p.Error(set.message);
}

// sysvar ["." suffix]
void SystemVariable(CParser &p, const SysVar &sv)
{
    EmitKeyword(p);
    p.NextSymbol();
    if (sv.suffix == Suffix::None || p.Symbol() != symPeriod)
        return;
    p.m_code.EmitByte('.');
    p.NextSymbol();
    if (sv.suffix == Suffix::PortBit) {
        PortBit(p);
    } else {
        SuffixMember(p, *FindSuffixSet(sv.suffix));
    }
}

// ["," expression]
void OptionalArgument(CParser &p)
{
    if (p.Symbol() != symComma)
        return;
    p.m_code.EmitByte(',');
    p.NextSymbol();
    p.Expression();
}

// stringvar "," string ["," expression]
void PosArguments(CParser &p)
{
    p.StringVariable();
    p.Expect(symComma, ',');
    if (p.Symbol() == symString) {
        p.m_code.EmitString(p.m_scan.m_text);
        p.NextSymbol();
    } else {
        p.Error("String constant expected.");
    }
    OptionalArgument(p);
}

// expression {"," expression} — one to four
void UsrArguments(CParser &p)
{
    p.Expression();
    for (int n = 1; n < 4 && p.Symbol() == symComma; ++n) {
        p.m_code.EmitByte(',');
        p.NextSymbol();
        p.Expression();
    }
}

// function "(" arguments ")"
void FunctionCall(CParser &p, const BuiltinFunction &fn)
{
    EmitKeyword(p);
    p.NextSymbol();
    p.Expect(symLParen, '(');
    switch (fn.shape) {
    case ArgShape::One:
        p.Expression();
        break;
    case ArgShape::Two:
        p.Expression();
        ExpectClosing(p, symComma, ',');
        p.Expression();
        break;
    case ArgShape::StringVar:
        p.StringVariable();
        break;
    case ArgShape::Val:
        p.StringVariable();
        OptionalArgument(p);
        break;
    case ArgShape::Pos:
        PosArguments(p);
        break;
    case ArgShape::Usr:
        UsrArguments(p);
        break;
    }
    ExpectClosing(p, symRParen, ')');
}

} // namespace

// expression [relation expression]
void CParser::Condition()
{
    Expression();
    const Operator *op = Find(kRelations, Symbol());
    if (!op)
        return;
    m_code.EmitText(op->text);
    NextSymbol();
    Expression();
}

// term {("+" | "-" | OR | XOR) term}
void CParser::Expression()
{
    NestingGuard level(*this);
    if (level.Overflow())
        return;
    CVarInfo info;
    Term(info);
    while (const Operator *op = Find(kAdditive, Symbol())) {
        m_code.EmitText(op->text);
        NextSymbol();
        Term(info);
    }
}

// factor {("*" | "/" | MOD | AND | "<<" | ">>") factor}
void CParser::Term(CVarInfo &info)
{
    Factor(info);
    while (const Operator *op = Find(kMultiplicative, Symbol())) {
        m_code.EmitText(op->text);
        NextSymbol();
        Factor(info);
    }
}

// {unary} (integer | float | char | variable | "(" condition ")" | sysvar | function)
void CParser::Factor(CVarInfo &info)
{
    UnaryOperators(*this);
    switch (Symbol()) {
    case symInteger:
        m_code.EmitNumber(m_scan.m_intValue);
        NextSymbol();
        return;
    case symFloat:
        m_code.EmitFloat(m_scan.m_floatValue);
        NextSymbol();
        return;
    case symString:
        CharConstant(*this);
        return;
    case symIdent:
        VariableRef(info, false);
        return;
    case symLParen:
        Parenthesized(*this);
        return;
    default:
        break;
    }
    if (const SysVar *sv = FindSysVar(Symbol())) {
        SystemVariable(*this, *sv);
    } else if (const BuiltinFunction *fn = FindFunction(Symbol())) {
        FunctionCall(*this, *fn);
    } else {
        Error("Factor expected.");
    }
}

// sysvar ["." suffix] "=" expression
void CParser::SysVarAssignment()
{
    const SysVar *sv = FindSysVar(Symbol());
    if (!sv || !sv->writable) {
        Error("Variable or statement expected.");
        return;
    }
    SystemVariable(*this, *sv);
    Expect(symEqual, '=');
    Expression();
}
