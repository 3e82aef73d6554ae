#include "Blocks.h"

bool CStmtList::PopBlock(CStmt& popped) {
  if (m_stack.empty()) return false;
  popped = m_stack.back();
  m_stack.pop_back();
  return true;
}

int CStmtList::CountBlocks(int token) const {
  int count = 0;
  for (const CStmt& s : m_stack) count += s.token == token;
  return count;
}

bool CStmtList::InLoop() const {
  for (const CStmt& s : m_stack) {
    if (s.token == 0x85 || s.token == 0x89 || s.token == 0x8B) return true;
  }
  return false;
}
