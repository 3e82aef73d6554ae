// The statements of the module's devices, serial line, data list, buses,
// modem and display: each is its token and an argument list whose shape is
// given by one syntax string per statement.
#include "StatementDecoder.h"

#include "TokenTable.h"

namespace velsim {

namespace {

// Syntax strings, read left to right:
//   e expression   c condition   o expression or nothing (before a ",")
//   v variable     V one or more variables   s string constant
//   S string constant or string variable     z string variable   l line number
//   x DATA item (string constant or expression)
//   D optional "#" device followed by ","    d optional "#" device
//   p optional prompt string followed by ","  P print items to the end
//   , # the character itself   [ the rest only when a "," follows (consumed)
//   * the item before it again while a "," follows
struct DeviceSyntax {
    TSYMBOL sym;
    const char *syntax;
};

constexpr DeviceSyntax kDeviceSyntax[] = {
    {symDATA, "x*"},
    {symREAD, "V"},
    {symRESTORE, "l"},
    {symLOAD, "e,V"},
    {symSTORE, "e,V"},
    {symWAIT, "c[e[l"},
    {symOPEN, "#e,s[e"},
    {symCLOSE, "d"},
    {symFLUSH, "d"},
    {symPRINT, "DP"},
    {symINPUT, "DpV"},
    {symPUT, "De[e"},
    {symGET, "Dv[e[e"},
    {symFIND, "Ds[e[l"},
    {symPOKE, "e,e"},
    {symSEND, "e,V"},
    {symRECV, "V"},
    {symI2CIN, "e,o,V"},
    {symI2COUT, "e,e[V"},
    {symSPISHIFT, "e,e,V"},
    {symINITGSM, "De[s[e"},
    {symSENDSMS, "DS,P"},
    {symRECVSMS, "Dz,z"},
    {symSTANDBY, ""},
    {symSOUND, "e[e"},
    {symPAUSE, "e"},
    {symSETCOM, "e,e"},
    {symSETPWM, "e,e,e"},
    {symSETPORT, "e,e[e"},
    {symSETDRIVE, "e"},
    {symSETCLOCK, "e"},
    {symSETKEYPAD, "e"},
    {symSETSYMBOL, "e*"},
    {symSETCOUNTER, "e[e"},
    {symSETDISPLAY, "e[e"},
    {symSETNETWORK, "e[e"},
    {symSETSTEPPER, "e,e"},
    {symCLS, ""},
    {symMOVE, "e,e"},
    {symFONT, "e"},
    {symCOLOR, "e[e"},
    {symPLOT, "e,e"},
    {symDRAW, "e,e[e"},
    {symFRAME, "e,e,e,e[e"},
    {symSCROLL, "e,e,e,e,e[e"},
    {symCIRCLE, "e,e,e[e[e"},
    {symPICTURE, "e,e,e[e"},
    {symBARGRAPH, "e,e,e,e,e[e"},
};

const char *SyntaxOf(int sym)
{
    for (const DeviceSyntax &entry : kDeviceSyntax) {
        if (entry.sym == sym)
            return entry.syntax;
    }
    return nullptr;
}

} // namespace

bool CStatementDecoder::DeviceStatement(TSYMBOL sym)
{
    if (!SyntaxOf(sym))
        return false;
    Take();
    int statement = sym;
    if (sym == symPLOT) {
        // The seven graphics statements share one token and a sub-code digit.
        statement = FamilyMember(symPLOT, Take() - '0');
        if (statement == symEndOfLine)
            Fail();
        Expect(',');
    }
    Stmt &stmt = Add(StmtKind::kDevice, statement);
    Arguments(stmt, SyntaxOf(statement));
    return true;
}

void CStatementDecoder::Arguments(Stmt &stmt, const char *syntax)
{
    for (const char *p = syntax; *p; ++p) {
        switch (*p) {
        case ',':
        case '#':
            Expect(*p);
            break;
        case '[':
            if (!Accept(','))
                return;
            break;
        case '*':
            while (Accept(','))
                Argument(stmt, p[-1]);
            break;
        case 'D':
        case 'd':
            if (Accept('#')) {
                stmt.device = Expression();
                if (*p == 'D')
                    Expect(',');
            }
            break;
        case 'P':
            PrintItems(stmt);
            break;
        default:
            Argument(stmt, *p);
            break;
        }
    }
}

void CStatementDecoder::Argument(Stmt &stmt, char kind)
{
    Arg arg;
    switch (kind) {
    case 'o':
        if (Peek() == ',')
            break;
        [[fallthrough]];
    case 'e':
        arg.kind = ArgKind::kExpr;
        arg.expr = Expression();
        break;
    case 'c':
        arg.kind = ArgKind::kExpr;
        arg.expr = Condition();
        break;
    case 'v':
        arg.kind = ArgKind::kVar;
        arg.var = Variable();
        break;
    case 'V':
        arg.kind = ArgKind::kVarList;
        do {
            arg.vars.push_back(Variable());
        } while (Accept(','));
        break;
    case 'p':
        if (Peek() == '"') {
            arg.kind = ArgKind::kText;
            arg.text = String();
            Expect(',');
        }
        break;
    case 'S':
    case 's':
        if (kind == 's' || Peek() == '"') {
            arg.kind = ArgKind::kText;
            arg.text = String();
            break;
        }
        [[fallthrough]];
    case 'z':
        arg.kind = ArgKind::kVar;
        arg.var = WholeArray();
        break;
    case 'l':
        arg.kind = ArgKind::kLabel;
        arg.label = Integer();
        break;
    case 'x': {
        DataItem item;
        item.line = m_program.m_lines[m_lineIndex].number;
        if (Peek() == '"')
            item.text = String();
        else
            item.expr = Expression();
        m_program.m_data.push_back(item);
        break;
    }
    default:
        Fail();
    }
    stmt.args.push_back(std::move(arg));
}

void CStatementDecoder::PrintItems(Stmt &stmt)
{
    while (!AtStatementEnd()) {
        stmt.items.push_back(Item());
        if (!Accept(','))
            return;
        if (AtStatementEnd())
            stmt.newline = false;
    }
}

PrintItem CStatementDecoder::Item()
{
    PrintItem item;
    if (Peek() == '"') {
        item.kind = ItemKind::kText;
        item.text = String();
        return item;
    }
    static constexpr struct {
        TSYMBOL sym;
        ItemKind kind;
    } kItems[] = {
        {symCR, ItemKind::kCr},   {symNL, ItemKind::kNl},   {symTAB, ItemKind::kTab},     {symSPC, ItemKind::kSpc},
        {symCHR, ItemKind::kChr}, {symHEX, ItemKind::kHex}, {symUSING, ItemKind::kUsing},
    };
    const TSYMBOL sym = PeekToken();
    for (const auto &entry : kItems) {
        if (entry.sym != sym)
            continue;
        Take();
        item.kind = entry.kind;
        if (item.kind == ItemKind::kCr || item.kind == ItemKind::kNl)
            return item;
        Expect('(');
        if (item.kind == ItemKind::kUsing) {
            item.text = String();
            Expect(',');
        }
        item.expr = Expression();
        Expect(')');
        return item;
    }
    item.expr = Expression();
    return item;
}

} // namespace velsim
