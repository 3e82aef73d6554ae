// The stack of block statements (IF, FOR, WHILE, DO) open at the current
// point of the program text.
#pragma once

#include <vector>

struct CStmt {
  int token = 0;          // 0x80 IF (block form), 0x85 FOR, 0x89 WHILE, 0x8B DO
  bool elseSeen = false;  // an IF has had its ELSE
  int line = 0;           // source line of the opening statement
};

class CStmtList {
 public:
  void PushBlock(int token, int line) { m_stack.push_back({token, false, line}); }
  CStmt* TopBlock() { return m_stack.empty() ? nullptr : &m_stack.back(); }
  bool PopBlock(CStmt& popped);  // false when the stack is empty
  int CountBlocks(int token) const;
  bool InLoop() const;
  bool Empty() const { return m_stack.empty(); }

 private:
  std::vector<CStmt> m_stack;
};
