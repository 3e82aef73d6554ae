#include "CompilerRunner.h"

#include "ChildProcess.h"
#include "TextLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kWaitStepMs = 100;
constexpr int kWaitsPerDot = 10;

constexpr int kStopGraceMs = 500;

bool g_running = false;
bool g_stopAsked = false;

// Holds the run flag for the duration of one run.
class TRunGuard {
public:
    TRunGuard()
        : m_owner(!g_running)
    {
        g_running = true;
        if (m_owner)
            g_stopAsked = false;
    }
    ~TRunGuard()
    {
        if (m_owner)
            g_running = false;
    }
    bool Owner() const
    {
        return m_owner;
    }

private:
    bool m_owner;
};

// The capture file's descriptor, closed when the run ends.
struct TCaptureFile {
    explicit TCaptureFile(int descriptor)
        : fd(descriptor)
    {
    }
    TCaptureFile(const TCaptureFile &) = delete;
    TCaptureFile &operator=(const TCaptureFile &) = delete;
    ~TCaptureFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
    const int fd;
};

QString Unquoted(const QString &quoted)
{
    if (quoted.size() >= 2 && quoted.front() == u'"' && quoted.back() == u'"')
        return quoted.mid(1, quoted.size() - 2);
    return quoted;
}

// A new, private capture file whose name is gone as soon as it is made;
// -1 when no folder takes one.
int OpenCapture()
{
    for (const QString &folder : CaptureFolders()) {
        QByteArray name = QFile::encodeName(QDir(folder).filePath(QStringLiteral("velc-XXXXXX.out")));
        const int fd = ::mkostemps(name.data(), 4, O_CLOEXEC);
        if (fd >= 0) {
            ::unlink(name.constData());
            return fd;
        }
    }
    return -1;
}

// What the compiler wrote, from the start, up to the size limit.
QByteArray ReadCapture(int fd, bool &cut)
{
    QByteArray bytes;
    char buffer[65536];
    cut = false;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        if (bytes.size() + n > kMaxCaptureBytes) {
            cut = true;
            return bytes;
        }
        bytes.append(buffer, n);
    }
}

bool Alive(const TBuildOutput &output)
{
    return !output.alive || output.alive();
}

void AddLine(const TBuildOutput &output, const QString &line)
{
    if (output.addLine && Alive(output))
        output.addLine(line);
}

void ShowProgress(const TBuildOutput &output, const QString &status)
{
    if (!Alive(output))
        return;
    if (output.clear)
        output.clear();
    AddLine(output, status);
    AddLine(output, StopHintLine());
}

// Returns whether the user stopped the compiler.
bool WaitShowingProgress(TChildProcess &child, const TBuildOutput &output)
{
    int waits = 0;
    while (!child.WaitFor(kWaitStepMs)) {
        if (g_stopAsked) {
            child.Stop(kStopGraceMs);
            return true;
        }
        const QString status = CompilingStatus(++waits);
        if (!status.isEmpty())
            ShowProgress(output, status);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return false;
}

// Replaces what the output shows (the progress and the stop hint) by lines.
void ShowLines(const TBuildOutput &output, const QStringList &lines)
{
    if (!Alive(output))
        return;
    if (output.setLines) {
        output.setLines(lines);
        return;
    }
    if (output.clear)
        output.clear();
    for (const QString &line : lines)
        AddLine(output, line);
}

void LoadCapture(int captureFd, bool stopped, const TBuildOutput &output)
{
    bool cut = false;
    QStringList lines;
    if (captureFd >= 0)
        lines = SplitLines(DecodeText(ReadCapture(captureFd, cut)));
    else
        lines << CouldNotRedirectLine();
    if (cut)
        lines << OutputCutLine();
    if (stopped)
        lines << CompileStoppedLine();
    ShowLines(output, lines);
}

} // namespace

QString CompilerPath(const QString &programDir)
{
#ifdef Q_OS_WIN
    return programDir + QStringLiteral("velc.exe");
#else
    return programDir + QStringLiteral("velc");
#endif
}

QStringList CaptureFolders()
{
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        folders << runtime;
    const QString temp = QDir::tempPath(); // empty when $TMPDIR names no folder
    if (!temp.isEmpty() && QFileInfo(temp).isDir())
        folders << temp;
    return folders;
}

QString CompilerCommandLine(const QString &compilerPath, const QString &quotedSource)
{
    return compilerPath + u' ' + quotedSource;
}

QString CompilingStatus(int waits)
{
    if (waits <= 0 || waits % kWaitsPerDot != 0)
        return {};
    return QStringLiteral("Compiling") + QString(waits / kWaitsPerDot, u'.');
}

QString CompilerNotFoundLine(const QString &compilerPath)
{
    return QStringLiteral("Could not find compiler: ") + compilerPath;
}

QString CouldNotRunLine(const QString &commandLine, const QString &systemMessage)
{
    return QStringLiteral("Could not run: %1 (%2).").arg(commandLine, systemMessage);
}

QString CouldNotRedirectLine()
{
    return QStringLiteral("Could not redirect stdout.");
}

QString OutputCutLine()
{
    return QStringLiteral("(The compiler's output is cut here: only its first %1 MiB are shown.)")
        .arg(kMaxCaptureBytes / (1024 * 1024));
}

bool CompilerRunning()
{
    return g_running;
}

void StopCompiler()
{
    if (g_running)
        g_stopAsked = true;
}

QString StopHintLine()
{
    return QStringLiteral("Press Esc in this list, or click Compile, to stop the compiler.");
}

QString CompileStoppedLine()
{
    return QStringLiteral("Compile stopped: the compiler was ended before it finished.");
}

bool RunCompiler(const QString &compilerPath, const QString &quotedSource, const TBuildOutput &output)
{
    TRunGuard guard;
    if (!guard.Owner())
        return false;
    const TCaptureFile capture(OpenCapture());
    TChildProcess child;
    const int rc = child.Start(QFile::encodeName(compilerPath).toStdString(),
                               {QFile::encodeName(Unquoted(quotedSource)).toStdString()}, capture.fd);
    if (rc != 0) {
        AddLine(output,
                CouldNotRunLine(CompilerCommandLine(compilerPath, quotedSource),
                                QString::fromLocal8Bit(std::strerror(rc))));
        return true;
    }
    const bool stopped = WaitShowingProgress(child, output);
    if (Alive(output))
        LoadCapture(capture.fd, stopped, output);
    return true;
}

bool CompileSource(const QString &compilerPath, const QString &sourcePath, const TBuildOutput &output)
{
    if (!QFileInfo(compilerPath).isFile()) {
        AddLine(output, CompilerNotFoundLine(compilerPath));
        return true;
    }
    return RunCompiler(compilerPath, u'"' + sourcePath + u'"', output);
}
