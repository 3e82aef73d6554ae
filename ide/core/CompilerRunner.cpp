#include "CompilerRunner.h"

#include "ChildProcess.h"
#include "TextLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kWaitStepMs = 100;
constexpr int kWaitsPerDot = 10;

bool g_running = false;

// Holds the run flag for the duration of one run.
class TRunGuard {
public:
    TRunGuard()
        : m_owner(!g_running)
    {
        g_running = true;
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

QString Unquoted(const QString &quoted)
{
    if (quoted.size() >= 2 && quoted.front() == u'"' && quoted.back() == u'"')
        return quoted.mid(1, quoted.size() - 2);
    return quoted;
}

// The capture file is emptied so no line of an earlier run can remain.
int OpenCapture(const QString &capturePath)
{
    const QByteArray name = QFile::encodeName(capturePath);
    return ::open(name.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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

void WaitShowingProgress(TChildProcess &child, const TBuildOutput &output)
{
    int waits = 0;
    while (!child.WaitFor(kWaitStepMs)) {
        const QString status = CompilingStatus(++waits);
        if (!status.isEmpty() && Alive(output)) {
            if (output.clear)
                output.clear();
            AddLine(output, status);
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// A capture file that could not be opened for the run is not read, so a
// stale file left by someone else never shows as this run's output.
void LoadCapture(const QString &capturePath, bool captured, const TBuildOutput &output)
{
    QFile capture(capturePath);
    if (!captured || !capture.open(QIODevice::ReadOnly)) {
        AddLine(output, CouldNotRedirectLine());
        return;
    }
    if (output.setLines && Alive(output))
        output.setLines(SplitLines(DecodeText(capture.readAll())));
    capture.close();
    capture.remove();
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

QString CapturePath(const QString &compilerPath)
{
    const QFileInfo compiler(compilerPath);
    const QString name = compiler.completeBaseName() + QStringLiteral(".out");
    const QString dir = compiler.absolutePath();
    if (::access(QFile::encodeName(dir).constData(), W_OK) == 0)
        return QDir(dir).filePath(name);
    return QDir(QDir::tempPath()).filePath(name);
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

bool CompilerRunning()
{
    return g_running;
}

bool RunCompiler(const QString &compilerPath, const QString &quotedSource, const TBuildOutput &output)
{
    TRunGuard guard;
    if (!guard.Owner())
        return false;
    const QString capturePath = CapturePath(compilerPath);
    const int captureFd = OpenCapture(capturePath);
    TChildProcess child;
    const int rc = child.Start(QFile::encodeName(compilerPath).toStdString(),
                               {QFile::encodeName(Unquoted(quotedSource)).toStdString()}, captureFd);
    if (captureFd >= 0)
        ::close(captureFd);
    if (rc != 0) {
        AddLine(output,
                CouldNotRunLine(CompilerCommandLine(compilerPath, quotedSource),
                                QString::fromLocal8Bit(std::strerror(rc))));
        return true;
    }
    WaitShowingProgress(child, output);
    if (Alive(output))
        LoadCapture(capturePath, captureFd >= 0, output);
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
