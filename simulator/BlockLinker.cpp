// Block statements are linked once, in program order, the way the compiler
// checked their nesting: every IF block knows its next branch, every loop
// its end, every EXIT the loop it leaves.
#include "StatementDecoder.h"

namespace velsim {

namespace {

struct OpenBlock {
    int stmt = 0;
    int lastBranch = 0; // the IF, or its latest ELSIF or ELSE
    bool elseSeen = false;
    std::vector<int> branches; // ELSIF and ELSE of an IF
    std::vector<int> exits; // EXIT statements of a loop
};

class CBlockLinker {
public:
    explicit CBlockLinker(CProgram &program)
        : m_stmts(program.m_stmts)
    {
    }

    // The index of the first statement that does not nest, or -1.
    int Link()
    {
        for (size_t i = 0; i < m_stmts.size(); ++i) {
            if (!Visit(static_cast<int>(i)))
                return static_cast<int>(i);
        }
        return m_open.empty() ? -1 : m_open.back().stmt;
    }

private:
    bool Visit(int i)
    {
        switch (m_stmts[i].kind) {
        case StmtKind::kIfBlock:
        case StmtKind::kFor:
        case StmtKind::kWhile:
        case StmtKind::kDo:
            m_open.push_back({i, i, false, {}, {}});
            return true;
        case StmtKind::kElsif:
        case StmtKind::kElse:
            return Branch(i);
        case StmtKind::kEndif:
            return Close(i, StmtKind::kIfBlock);
        case StmtKind::kNext:
            return Close(i, StmtKind::kFor);
        case StmtKind::kWend:
            return Close(i, StmtKind::kWhile);
        case StmtKind::kLoop:
            return Close(i, StmtKind::kDo);
        case StmtKind::kExit:
            return Exit(i);
        default:
            return true;
        }
    }

    bool TopIs(StmtKind kind) const
    {
        return !m_open.empty() && m_stmts[m_open.back().stmt].kind == kind;
    }

    bool Branch(int i)
    {
        if (!TopIs(StmtKind::kIfBlock) || m_open.back().elseSeen)
            return false;
        OpenBlock &block = m_open.back();
        m_stmts[block.lastBranch].jump = i;
        block.lastBranch = i;
        block.branches.push_back(i);
        block.elseSeen = m_stmts[i].kind == StmtKind::kElse;
        return true;
    }

    bool Close(int i, StmtKind opener)
    {
        if (!TopIs(opener))
            return false;
        const OpenBlock &block = m_open.back();
        if (opener == StmtKind::kIfBlock) {
            m_stmts[block.lastBranch].jump = i;
            for (int branch : block.branches)
                m_stmts[branch].jump2 = i;
        } else {
            m_stmts[block.stmt].jump = i;
            m_stmts[i].jump = block.stmt;
            for (int exit : block.exits)
                m_stmts[exit].jump = i;
        }
        m_open.pop_back();
        return true;
    }

    bool Exit(int i)
    {
        for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
            if (m_stmts[it->stmt].kind != StmtKind::kIfBlock) {
                it->exits.push_back(i);
                return true;
            }
        }
        return false;
    }

    std::vector<Stmt> &m_stmts;
    std::vector<OpenBlock> m_open;
};

} // namespace

bool LinkBlocks(CProgram &program, int &badLine)
{
    const int bad = CBlockLinker(program).Link();
    if (bad < 0)
        return true;
    badLine = program.LineNumberOf(bad);
    return false;
}

} // namespace velsim
