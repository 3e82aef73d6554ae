// One compile run: read the program, collect labels, compile every line into
// the program image, write the HEX file and the listing, print the summary.
// Each phase runs only while no error has been counted.
#pragma once

#include "Code.h"
#include "LanguageNames.h"
#include "Macros.h"
#include "NoCase.h"
#include "Scanner.h"
#include "Source.h"
#include "SourceProvider.h"
#include "SymbolSink.h"

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>

class CCompiler {
public:
    // Everything the compiler says goes to `out`.
    explicit CCompiler(std::ostream &out);
    // ... or to a C file: velc prints to its standard output this way, so
    // that the C++ streams, whose start-up alone costs it more than a tenth
    // of a millisecond, are never started.
    explicit CCompiler(std::FILE *out);

    void Compile(const std::string &sourceArgument);
    // The phases of Compile on the file at `fullPath`, without the banner, the
    // output files and the statistics: a check that writes nothing.
    void Check(const std::string &fullPath);

    // The only way a diagnostic reaches the user: "path(line): text", or the
    // bare text when fileIndex < 0. Prints at most ten; the eleventh call prints
    // "Too many errors." and later calls print nothing.
    void ReportError(const std::string &text, int fileIndex, int line);
    void PrintLine(const std::string &text);

    // Reads one file, announces it and runs the directive pass on it; its
    // #INCLUDE names are resolved against the file's own folder. False only
    // when the file cannot be opened.
    // With `output`, an included file's lines go straight into the including
    // pass's output (see CSource::Walker).
    bool ReadSource(CSource &source, const std::string &fullPath, CSource::Walker *output = nullptr);

    // Writes the HEX file, the listing and the line map beside the source argument.
    void WriteOutputFiles(const std::string &sourceArgument);

    CDefineList m_defines; // macro table
    NoCaseMap<int> m_labels; // upper-case label -> program line index
    CFileList m_files;
    TargetProfile m_target;
    CMacro m_macro; // filled by a successful macro look-up
    ScanState m_scan; // the scanner's state, shared by every phase of this run
    CCode m_code;
    int m_errorCount = 0;
    int m_includeDepth = 0; // files being read inside the main file's #INCLUDE lines
    int m_dataSize = 0;
    int m_codeSize = 0;
    int m_dataLimit = 0;
    int m_codeLimit = 0;
    // Optional: consulted for every file before the disk, and told of the
    // program's symbols. Neither is owned.
    const CSourceProvider *m_sources = nullptr;
    CSymbolSink *m_symbols = nullptr;
    std::string m_mapText; // the line map, made while the variable table exists

private:
    void Analyse(const std::string &fullPath);
    void GenerateCode(CSource &source);
    bool OutputReplacesSource(const std::string &output);
    void PrintStatistics();
    void Print(std::string_view text);
    std::ostream *m_stream = nullptr; // the one of the two that is set
    std::FILE *m_file = nullptr;
    // The whole program after the directive pass; it lives as long as the
    // run object, which velc never destroys (freeing a million lines costs).
    CSource m_program;
};

// Printf-style formatting of a message with one argument, used for the fixed
// message texts ("Can't open file: '%s'.", "... (max. %d).").
std::string Format(const char *format, const std::string &arg);
std::string Format(const char *format, long long arg);
