// The directive pass over the lines of one source file.
#pragma once

class CCompiler;
class CSource;

// Runs on every file read through CCompiler::ReadSource, with the current
// directory set to the file's directory. Afterwards the source holds only
// ordinary program lines, each with its file index and a clear directive flag.
void Preprocess(CCompiler& compiler, CSource& source);
