// Block statements, jumps and END, and the check for blocks left open.
#include "Parser.h"

#include "Source.h"

void CParser::IfStatement() { NotCompiledYet(); }
void CParser::ElsifStatement() { NotCompiledYet(); }
void CParser::ElseStatement() { NotCompiledYet(); }
void CParser::EndifStatement() { NotCompiledYet(); }
void CParser::ForStatement() { NotCompiledYet(); }
void CParser::NextStatement(bool /*conditional*/) { NotCompiledYet(); }
void CParser::WhileStatement() { NotCompiledYet(); }
void CParser::WendStatement(bool /*conditional*/) { NotCompiledYet(); }
void CParser::DoStatement() { NotCompiledYet(); }
void CParser::LoopStatement(bool /*conditional*/) { NotCompiledYet(); }
void CParser::ExitStatement() { NotCompiledYet(); }
void CParser::ReturnStatement() { NotCompiledYet(); }
void CParser::GotoStatement(int /*token*/) { NotCompiledYet(); }
void CParser::OnStatement() { NotCompiledYet(); }
void CParser::EndStatement() { NotCompiledYet(); }

// Blocks still open after the last line, innermost first, each reported at
// the line that opened it.
void CParser::CloseBlocks() {
  CStmt block;
  while (m_blocks.PopBlock(block)) {
    switch (block.token) {
      case 0x80: Error("No matching ENDIF found.", block.line); break;
      case 0x85: Error("No matching NEXT found.", block.line); break;
      case 0x89: Error("No matching WEND found.", block.line); break;
      default: Error("No matching LOOP found.", block.line); break;
    }
  }
}
