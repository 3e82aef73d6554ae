// The stack of block statements (IF, FOR, WHILE, DO) open at the current
// point of the program text.
#pragma once

#include <vector>

// Opening tokens of the blocks.
enum BlockToken { btIf = 0x80, btFor = 0x85, btWhile = 0x89, btDo = 0x8B };

struct CStmt {
    int token = 0; // 0x80 IF (block form), 0x85 FOR, 0x89 WHILE, 0x8B DO
    bool elseSeen = false; // an IF has had its ELSE
    int fileIndex = 0; // file of the opening statement
    int line = 0; // source line of the opening statement
};

class CStmtList {
public:
    void PushBlock(int token, int fileIndex, int line);
    CStmt *TopBlock()
    {
        return m_stack.empty() ? nullptr : &m_stack.back();
    }
    bool PopBlock(CStmt &popped); // false when the stack is empty
    int CountBlocks(int token) const;
    bool InLoop() const;
    bool Empty() const
    {
        return m_stack.empty();
    }

private:
    // Open blocks per kind, kept as the stack changes so that counting stays
    // cheap however deep a hostile program nests.
    int &Counter(int token);

    std::vector<CStmt> m_stack;
    int m_ifs = 0, m_fors = 0, m_whiles = 0, m_dos = 0;
};
