// The small interpreter that compiles an argument list from the syntax
// table of the input/output, device and display statements (lang/ArgumentSyntax.h).
#include "StatementSyntax.h"

#include "Code.h"
#include "Parser.h"

#include <string_view>

namespace {

constexpr char kStringExpected[] = "String constant expected.";

std::string_view SyntaxOf(TSYMBOL statement)
{
    const char *arguments = ArgumentSyntax(statement);
    return arguments ? arguments : "";
}

// Compiles one syntax string. Every routine returns false when the
// statement has to end at once.
class CArgumentCompiler {
public:
    CArgumentCompiler(CParser &parser, std::string_view syntax)
        : m_parser(parser)
        , m_syntax(syntax)
    {
    }

    void Run()
    {
        size_t pos = 0;
        Sequence(pos);
    }

private:
    CParser &m_parser;
    std::string_view m_syntax;

    bool Sequence(size_t &pos);
    bool Element(size_t &pos);
    bool Group(size_t &pos, bool repeat);
    size_t GroupEnd(size_t pos) const;
    bool Argument(char kind, bool stop);
    bool Comma(bool stop);
    bool StringConstant(bool stop);
    void StringOrExpression();
    void Prompt();
    bool At(TSYMBOL symbol) const
    {
        return m_parser.Symbol() == symbol;
    }
};

// Elements up to the end of the syntax or of the enclosing group.
bool CArgumentCompiler::Sequence(size_t &pos)
{
    while (pos < m_syntax.size() && m_syntax[pos] != ']' && m_syntax[pos] != '}') {
        if (!Element(pos))
            return false;
    }
    return true;
}

bool CArgumentCompiler::Element(size_t &pos)
{
    const char kind = m_syntax[pos++];
    if (kind == '[' || kind == '{')
        return Group(pos, kind == '{');
    const bool stop = pos < m_syntax.size() && m_syntax[pos] == '!';
    if (stop)
        ++pos;
    return Argument(kind, stop);
}

// An optional or repeated part; it always begins with ",".
bool CArgumentCompiler::Group(size_t &pos, bool repeat)
{
    const size_t end = GroupEnd(pos);
    bool going = true;
    for (bool first = true; going && At(symComma) && (first || repeat); first = false) {
        size_t inner = pos;
        going = Sequence(inner);
    }
    pos = end + 1;
    return going;
}

// Index of the bracket that closes the group starting at pos.
size_t CArgumentCompiler::GroupEnd(size_t pos) const
{
    for (int depth = 0; pos < m_syntax.size(); ++pos) {
        const char c = m_syntax[pos];
        if (c == '[' || c == '{')
            ++depth;
        if ((c == ']' || c == '}') && depth-- == 0)
            return pos;
    }
    return pos;
}

bool CArgumentCompiler::Argument(char kind, bool stop)
{
    CVarInfo info;
    switch (kind) {
    case ',':
        return Comma(stop);
    case 's':
        return StringConstant(stop);
    case 'e':
        m_parser.Expression();
        break;
    case 'c':
        m_parser.Condition();
        break;
    case 'v':
        m_parser.VariableRef(info, false);
        break;
    case 'V':
        m_parser.VariableList();
        break;
    case 'S':
        m_parser.StringVariable();
        break;
    case 'l':
        m_parser.LabelRef();
        break;
    case 'a':
        m_parser.StringArgument();
        break;
    case 'i':
        m_parser.PrintItem();
        break;
    case 'x':
        StringOrExpression();
        break;
    case 'p':
        Prompt();
        break;
    case 'o':
        if (!At(symComma))
            m_parser.Expression();
        break;
    case 'd':
        m_parser.Device(true);
        break;
    case 'D':
        m_parser.Device(false);
        break;
    default:
        break;
    }
    return true;
}

bool CArgumentCompiler::Comma(bool stop)
{
    const bool found = At(symComma);
    m_parser.Expect(symComma, ',');
    return found || !stop;
}

bool CArgumentCompiler::StringConstant(bool stop)
{
    if (At(symString)) {
        m_parser.m_code.EmitString(m_parser.m_scan.m_text);
        m_parser.NextSymbol();
        return true;
    }
    m_parser.Error(kStringExpected);
    if (stop)
        return false;
    m_parser.NextSymbol();
    return true;
}

void CArgumentCompiler::StringOrExpression()
{
    if (!At(symString)) {
        m_parser.Expression();
        return;
    }
    m_parser.m_code.EmitString(m_parser.m_scan.m_text);
    m_parser.NextSymbol();
}

void CArgumentCompiler::Prompt()
{
    if (!At(symString))
        return;
    m_parser.m_code.EmitString(m_parser.m_scan.m_text);
    m_parser.NextSymbol();
    m_parser.Expect(symComma, ',');
}

} // namespace

void CompileStatement(CParser &parser)
{
    const TSYMBOL statement = parser.Symbol();
    parser.m_code.EmitToken(KeywordToken(statement));
    parser.NextSymbol();
    CompileArguments(parser, statement);
}

void CompileArguments(CParser &parser, TSYMBOL statement)
{
    CArgumentCompiler(parser, SyntaxOf(statement)).Run();
}
