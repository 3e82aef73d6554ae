#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

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

// The status line after the given number of 100 ms ticks of a run, or an
// empty string when the view is left as it is for this tick.
QString CompilingStatus(int ticks);

// Line shown when the compiler is missing, cannot be started, or left no
// captured output.
QString CompilerNotFoundLine(const QString &compilerPath);
QString CouldNotRunLine(const QString &commandLine, const QString &systemMessage);
QString CouldNotRedirectLine();
QString OutputCutLine();

// While a compile runs, the view shows the progress line followed by the stop
// hint; a stopped compile's output ends with the stopped line.
QString StopHintLine();
QString CompileStoppedLine();

struct TCompileRun;

// Runs the compiler on one source at a time without waiting for it: a
// compile returns at once, and the event loop reports the rest. Every
// accepted compile emits Started, then Progress once a second while the
// compiler runs, then Output with the lines its view shows, then Finished.
// A compile that cannot start (no compiler, no process) reports Started,
// Output and Finished before it returns.
class TCompilerRunner : public QObject {
    Q_OBJECT

public:
    explicit TCompilerRunner(QObject *parent = nullptr);
    // A compiler still running is ended with what it started.
    ~TCompilerRunner() override;

    // Compiles one source file (a full path): says so in the output when the
    // compiler is missing, else runs it with the name in double quotes.
    // Returns false, doing nothing, while another compile runs.
    bool Compile(const QString &compilerPath, const QString &sourcePath);

    // Runs the compiler on the source (its full path in double quotes).
    // Returns false, doing nothing, while another compile runs.
    bool Run(const QString &compilerPath, const QString &quotedSource);

    bool Running() const;

    // Stops the compile that runs, if any: the compiler is asked to end, and
    // killed when it has not within half a second. Its output then shows what
    // it printed so far followed by the stopped line.
    void Stop();

signals:
    void Started();
    // The view shows status followed by StopHintLine().
    void Progress(const QString &status);
    // The view shows exactly these lines.
    void Output(const QStringList &lines);
    void Finished(bool stopped);

private:
    void Tick();
    bool EndIfExited();
    void End();
    void EndAtOnce(const QString &line);

    std::unique_ptr<TCompileRun> m_run; // the compile that runs, if any
};
