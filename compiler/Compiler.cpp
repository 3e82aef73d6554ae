#include "Compiler.h"

#include "LabelPass.h"
#include "LanguageNames.h"
#include "MapWriter.h"
#include "Messages.h"
#include "OutputFile.h"
#include "Parser.h"
#include "Paths.h"
#include "Preprocessor.h"

#include <cstdio>
#include <iterator>
#include <sys/stat.h>

namespace {

const char kBanner[] = "Velmo Compiler V2.4 - compiler for the ZENTRA module family\n";

// Diagnostics may quote source text, which the compiler holds in
// Windows-1252, while file names on this system are UTF-8. Standard output
// is UTF-8 throughout, so that a reader can decode every line the same way
// and find the files it names: a text that is not UTF-8 yet is transcoded.
std::string OutputText(const std::string &text)
{
    return IsValidUtf8(text) ? text : AnsiToUtf8(text);
}

// One output file of a build. The map is not announced: the lines velc
// prints name the files a user asks for.
struct OutputPlan {
    std::string path;
    const std::string &contents;
    bool announced;
    Flush flush;
};

} // namespace

std::string Format(const char *format, const std::string &arg)
{
    std::string text = format;
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.replace(at, 2, arg);
}

std::string Format(const char *format, long long arg)
{
    std::string text = format;
    const size_t at = text.find("%d");
    return at == std::string::npos ? text : text.replace(at, 2, std::to_string(arg));
}

CCompiler::CCompiler(std::ostream &out)
    : m_stream(&out)
{
}

CCompiler::CCompiler(std::FILE *out)
    : m_file(out)
{
}

void CCompiler::Print(std::string_view text)
{
    if (m_stream)
        m_stream->write(text.data(), static_cast<std::streamsize>(text.size()));
    else
        std::fwrite(text.data(), 1, text.size(), m_file);
}

void CCompiler::PrintLine(const std::string &text)
{
    Print(text);
    Print("\n");
}

void CCompiler::ReportError(const std::string &text, int fileIndex, int line)
{
    if (m_symbols)
        m_symbols->Diagnostic(text, fileIndex, line);
    if (m_errorCount < 10) {
        if (fileIndex < 0)
            PrintLine(OutputText(text));
        else
            PrintLine(PrintableName(m_files.Name(fileIndex)) + '(' + std::to_string(line < 0 ? 1 : line) +
                      "): " + OutputText(text));
        ++m_errorCount;
    } else if (m_errorCount == 10) {
        Print("Too many errors.\n");
        ++m_errorCount;
    }
}

bool CCompiler::ReadSource(CSource &source, const std::string &fullPath, CSource::Walker *output)
{
    std::string text;
    if (m_sources && m_sources->Contents(fullPath, text))
        source.SetContents(fullPath, std::move(text));
    else if (!source.Read(fullPath))
        return false;
    PrintLine("  >> " + PrintableName(fullPath));
    Preprocess(*this, source, output);
    return true;
}

void CCompiler::Compile(const std::string &sourceArgument)
{
    PrintLine(kBanner);
    PrintLine("Compiling...");
    Analyse(MakeFullPath(AddDefaultExtension(sourceArgument, ".bas")));
    if (m_errorCount == 0)
        WriteOutputFiles(sourceArgument);
    if (m_errorCount == 0)
        PrintStatistics();
    PrintLine(Format("\nBuild finished.\n%d - Error(s).\n", m_errorCount));
}

void CCompiler::Check(const std::string &fullPath)
{
    Analyse(fullPath);
}

void CCompiler::Analyse(const std::string &fullPath)
{
    CSource &source = m_program;
    source.RemoveAll();
    if (!ReadSource(source, fullPath))
        ReportError(ReadFailureMessage(source.Error(), fullPath), -1, -1);
    if (m_errorCount == 0)
        LabelPass(*this, source);
    if (m_errorCount == 0)
        GenerateCode(source);
}

// Every line is compiled, also after errors; only their printing is cut off.
void CCompiler::GenerateCode(CSource &source)
{
    CParser parser(*this);
    for (int i = 0; i < source.Count(); ++i)
        parser.CompileLine(i, source[i]);
    parser.Finish(source.Count());
    if (m_errorCount == 0)
        m_mapText = velmo::lang::FormatDebugMap(BuildDebugMap(*this, source, parser.m_vars));
}

void CCompiler::PrintStatistics()
{
    auto percent = [](long long size, long long limit) { return limit > 0 ? size * 100 / limit : 0; };
    PrintLine("");
    PrintLine("Code size: " + std::to_string(m_codeSize) + " bytes (" +
              std::to_string(percent(m_codeSize, m_codeLimit)) + "%)");
    PrintLine("Data size: " + std::to_string(m_dataSize) + " bytes (" +
              std::to_string(percent(m_dataSize, m_dataLimit)) + "%)");
}

// The names derive from the argument as given, made full against the
// directory in which the compiler was started. Each file is written to a
// temporary file and renamed into place only when complete. The HEX file,
// its listing and its line map always belong to one build: when one cannot
// be written, the others of this build and older files of these names go.
void CCompiler::WriteOutputFiles(const std::string &sourceArgument)
{
    const std::string hex = MakeFullPath(ReplaceExtension(sourceArgument, ".hex"));
    const std::string listing = MakeFullPath(ReplaceExtension(sourceArgument, ".lst"));
    const std::string map = MakeFullPath(ReplaceExtension(sourceArgument, ".map"));
    if (OutputReplacesSource(hex) || OutputReplacesSource(listing) || OutputReplacesSource(map))
        return;
    PrintLine("Generating...");
    const std::string hexText = m_code.HexFileText();
    const std::string listingText = m_code.ListingFileText();
    const OutputPlan outputs[] = {{hex, hexText, true, Flush::kToDisk},
                                  {listing, listingText, true, Flush::kByTheSystem},
                                  {map, m_mapText, false, Flush::kByTheSystem}};
    for (const OutputPlan &output : outputs) {
        if (output.announced)
            PrintLine("  >> " + PrintableName(output.path));
        if (!WriteFileAtomically(output.path, output.contents, output.flush)) {
            ReportError(Format(kCantWriteFile, PrintableName(output.path)), -1, -1);
            for (const OutputPlan &written : outputs)
                RemoveOutputFile(written.path);
            return;
        }
    }
}

// An output named like a file that was read (prog.hex compiled as the
// source, or included) would destroy it; the same file under another name
// (a link) counts too.
bool CCompiler::OutputReplacesSource(const std::string &output)
{
    struct stat out { };
    if (::stat(output.c_str(), &out) != 0)
        return false;
    for (int i = 0; i < m_files.Count(); ++i) {
        struct stat in { };
        if (::stat(m_files.Name(i).c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
            ReportError(Format(kOutputIsSource, PrintableName(output)), -1, -1);
            return true;
        }
    }
    return false;
}
