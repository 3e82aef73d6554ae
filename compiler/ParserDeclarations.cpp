// Variables, declarations, assignments and label references.
#include "Parser.h"

#include "Code.h"
#include "Compiler.h"
#include "LanguageNames.h"

#include <cctype>
#include <climits>

namespace {

// The scanner keeps the low 32 bits of an integer constant, so a length
// such as 4294967297 would arrive as 1. Reads the constant that ends at `end`
// in the line's text again and tells whether its value exceeds the largest int.
bool ConstantTooLarge(const std::string &text, size_t end)
{
    size_t start = end;
    while (start > 0 && std::isxdigit(static_cast<unsigned char>(text[start - 1])))
        --start;
    const char prefix = start > 0 ? text[start - 1] : ' ';
    const unsigned radix = prefix == '$' ? 16 : prefix == '%' ? 2 : 10;
    unsigned long long value = 0;
    for (size_t i = start; i < end && value <= INT_MAX; ++i) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        value = value * radix + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
    }
    return value > INT_MAX;
}

// "[" length "]" behind a declared name: a plain number in 1..maxArrayLength.
// An invalid length is reported and kept, as written.
void ArrayLength(CParser &p, CVar &var)
{
    p.m_code.EmitByte('[');
    p.NextSymbol();
    if (p.Symbol() == symInteger) {
        const int n = p.m_scan.m_intValue;
        const bool tooLarge = ConstantTooLarge(p.m_line.m_text, static_cast<size_t>(p.m_scan.m_pos));
        if (tooLarge || n < 1 || n > p.m_target.maxArrayLength)
            p.Error(Format("Invalid array size (1..%d).", p.m_target.maxArrayLength));
        p.m_vars.SetLength(var, n);
        p.m_code.EmitNumber(n);
        p.NextSymbol();
    } else {
        p.Error(Format("Array length (1..%d) expected.", p.m_target.maxArrayLength));
    }
    p.Expect(symRBracket, ']');
}

// The variable count is reported once per run, then the limit is lifted.
void CheckVariableCount(CParser &p)
{
    if (p.m_vars.VarCount() <= p.m_target.maxVariables)
        return;
    p.Error(Format("Too many variables (max. %d).", p.m_target.maxVariables));
    p.m_target.maxVariables = INT_MAX;
}

// name ["[" length "]"]
void DeclareItem(CParser &p, int type)
{
    if (p.Symbol() != symIdent) {
        p.Error(Format("Variable name expected, but '%s' found.", p.m_scan.m_text));
        return;
    }
    if (p.m_vars.FindVar(p.m_scan.m_text)) {
        p.Error(Format("Redeclaration of variable '%s'.", p.m_scan.m_text));
        return;
    }
    CVar *var = p.m_vars.AddVar(p.m_scan.m_text, type);
    p.m_code.EmitVarName(var->index);
    p.NextSymbol();
    if (p.Symbol() == symLBracket)
        ArrayLength(p, *var);
    if (p.m_compiler.m_symbols)
        p.m_compiler.m_symbols->Variable(var->name, var->type, var->length, p.m_line.m_fileIndex,
                                         p.m_line.m_lineNumber);
    CheckVariableCount(p);
}

// A string constant into a whole array: a CHAR array keeps one element for
// the end of the string, a BYTE array takes the characters only.
void ArrayString(CParser &p, const CVarInfo &info)
{
    const long long length = static_cast<long long>(p.m_scan.m_text.size());
    if (info.type == vtByte) {
        if (length > info.length)
            p.Error("String constant exceeds size of byte array.");
    } else if (info.type == vtChar) {
        if (length > info.length - 1LL)
            p.Error("String constant exceeds size of char array.");
    } else {
        p.Error(Format("Can't assign a string constant to %s array.", TypeInfo(info.type).name));
    }
    p.m_code.EmitString(p.m_scan.m_text);
    p.NextSymbol();
}

// "[" expression {"," expression} "]" — fewer values than elements are fine.
void InitializerList(CParser &p, const CVarInfo &info)
{
    p.m_code.EmitByte('[');
    long long count = 0;
    do {
        p.NextSymbol();
        p.Expression();
        ++count;
        if (p.Symbol() == symComma)
            p.m_code.EmitByte(',');
    } while (p.Symbol() == symComma);
    if (!p.m_nestingOverflow)
        p.Expect(symRBracket, ']');
    if (count > info.length)
        p.Error("Too many initializers.");
}

} // namespace

// (CHAR | BYTE | WORD | INTEGER | LONG | FLOAT) item {"," item}
// item = name ["[" length "]"]
void CParser::Declaration()
{
    const int type = Symbol() - symCHAR + vtChar;
    m_code.EmitToken(KeywordToken(Symbol()), -1);
    NextSymbol();
    for (;;) {
        DeclareItem(*this, type);
        if (Symbol() != symComma)
            break;
        m_code.EmitByte(',');
        NextSymbol();
    }
    // Once reported the limit is lifted; a data size beyond the largest int
    // (possible with lengths out of range) must not report it a second time.
    if (m_target.dataMemory != INT_MAX && m_vars.DataSize() > m_target.dataMemory) {
        Error(Format("Not enough data memory (max. %d Byte).", m_target.dataMemory));
        m_target.dataMemory = INT_MAX;
    }
}

// name ["[" expression "]"]
void CParser::VariableRef(CVarInfo &info, bool noArray)
{
    if (Symbol() != symIdent) {
        Error("Variable name expected.");
        return;
    }
    const CVar *var = m_vars.FindVar(m_scan.m_text);
    if (!var) {
        Error(Format("Variable '%s' was not declared.", m_scan.m_text));
        NextSymbol();
        return;
    }
    m_code.EmitVarName(var->index);
    if (noArray && var->IsArray())
        Error("No array variable allowed here (e.g. as loop counter).");
    info = CVarInfo{var->type, var->length};
    NextSymbol();
    if (Symbol() != symLBracket)
        return;
    m_code.EmitByte('[');
    info.length = 0;
    if (!var->IsArray())
        Error(Format("Variable '%s' was not declared as array.", var->name));
    NextSymbol();
    Expression();
    if (!m_nestingOverflow)
        Expect(symRBracket, ']');
}

// name — a whole CHAR array
void CParser::StringVariable()
{
    CVarInfo info;
    VariableRef(info, false);
    if (info.type != vtChar || info.length <= 0)
        Error("String variable expected.");
}

// variable {"," variable}
void CParser::VariableList()
{
    CVarInfo info;
    VariableRef(info, false);
    while (Symbol() == symComma) {
        m_code.EmitByte(',');
        NextSymbol();
        VariableRef(info, false);
    }
}

// variable "=" expression
// array "=" string
// array "=" "[" expression {"," expression} "]"
void CParser::Assignment()
{
    CVarInfo info;
    VariableRef(info, false);
    Expect(symEqual, '=');
    if (info.length <= 0) {
        Expression();
    } else if (Symbol() == symString) {
        ArrayString(*this, info);
    } else if (Symbol() == symLBracket) {
        InitializerList(*this, info);
    } else {
        Error("Can't assign a scalar value to an array (use [1,2,3] instead).");
    }
}

// (INC | DEC) variable
void CParser::IncDec(int token)
{
    m_code.EmitToken(token, -1);
    NextSymbol();
    CVarInfo info;
    VariableRef(info, false);
}

// label — written as the line number of the line it marks
void CParser::LabelRef()
{
    if (Symbol() != symIdent) {
        Error("Label expected.");
        return;
    }
    auto it = m_labels.find(std::string_view(m_scan.m_text));
    if (it != m_labels.end()) {
        m_code.EmitNumber(it->second + 1);
    } else {
        Error(Format("Label '%s' not found.", m_scan.m_text));
        m_code.EmitNumber(1);
    }
    NextSymbol();
}

// label {"," label}
void CParser::LabelList()
{
    LabelRef();
    while (Symbol() == symComma) {
        m_code.EmitByte(',');
        NextSymbol();
        LabelRef();
    }
}
