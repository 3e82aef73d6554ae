#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Where a compile run shows what it does: the build list, or whatever a test
// or another front end puts in its place. Each member may be left empty.
struct TBuildOutput {
    std::function<void()> clear; // empties the view
    std::function<void(const QString &)> addLine; // appends one line
    std::function<void(const QStringList &)> setLines; // shows exactly these lines
    std::function<bool()> alive; // false once the view is gone
};

// The compiler lies beside the workbench: programDir (with its trailing "/")
// followed by the compiler's file name.
QString CompilerPath(const QString &programDir);

// Where the compiler's standard output is captured, first choice first: the
// user's runtime folder (when there is one) and the temporary folder. The
// capture file is made afresh there for each run, readable by this user only,
// with a name no one can guess (a planted link is never followed), and
// removed at once: the workbench reads it through the descriptor it holds.
QStringList CaptureFolders();

// At most this much of the compiler's output is shown.
constexpr qint64 kMaxCaptureBytes = 16 * 1024 * 1024;

// Command line as shown in messages: compiler path, one blank, quoted source.
QString CompilerCommandLine(const QString &compilerPath, const QString &quotedSource);

// The status line after the given number of 100 ms waits, or an empty string
// when the list is left as it is for this wait.
QString CompilingStatus(int waits);

// Line shown when the compiler is missing, cannot be started, or left no
// captured output.
QString CompilerNotFoundLine(const QString &compilerPath);
QString CouldNotRunLine(const QString &commandLine, const QString &systemMessage);
QString CouldNotRedirectLine();
QString OutputCutLine();

// Runs the compiler on the source (its full path in double quotes), waits in
// 100 ms steps while the window stays responsive, and shows the compiler's
// output. Returns false, doing nothing, while another run is in progress.
bool RunCompiler(const QString &compilerPath, const QString &quotedSource, const TBuildOutput &output);

// Whether a compile is running (its wait lets other commands run meanwhile).
bool CompilerRunning();

// Stops the compile in progress, if any: the compiler is ended, and the
// output shows what it printed so far followed by the stopped line. While a
// compile runs, the progress line is followed by the stop hint.
void StopCompiler();
QString StopHintLine();
QString CompileStoppedLine();

// Compiles one source file (a full path): says so in the output when the
// compiler is missing, else runs it with the name in double quotes.
bool CompileSource(const QString &compilerPath, const QString &sourcePath, const TBuildOutput &output);
