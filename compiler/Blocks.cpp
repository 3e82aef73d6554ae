#include "Blocks.h"

void CStmtList::PushBlock(int token, int fileIndex, int line)
{
    m_stack.push_back({token, false, fileIndex, line});
    ++Counter(token);
}

bool CStmtList::PopBlock(CStmt &popped)
{
    if (m_stack.empty())
        return false;
    popped = m_stack.back();
    m_stack.pop_back();
    --Counter(popped.token);
    return true;
}

int CStmtList::CountBlocks(int token) const
{
    switch (token) {
    case btIf:
        return m_ifs;
    case btFor:
        return m_fors;
    case btWhile:
        return m_whiles;
    case btDo:
        return m_dos;
    default:
        return 0;
    }
}

bool CStmtList::InLoop() const
{
    return m_fors + m_whiles + m_dos > 0;
}

int &CStmtList::Counter(int token)
{
    switch (token) {
    case btFor:
        return m_fors;
    case btWhile:
        return m_whiles;
    case btDo:
        return m_dos;
    default:
        return m_ifs;
    }
}
