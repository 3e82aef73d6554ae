// The label pass: runs after the directive pass and before code generation.
#pragma once

class CCompiler;
class CSource;

// Records every label line in CCompiler::m_labels (upper-case name -> index
// of the program line it marks) and removes the label text from the program.
void LabelPass(CCompiler &compiler, CSource &source);
