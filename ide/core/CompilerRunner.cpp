#include "CompilerRunner.h"

#include "ChildProcess.h"
#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kTickMs = 100;
constexpr int kTicksPerDot = 10;

constexpr int kStopGraceMs = 500;

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

// The lines a finished run leaves in its view.
QStringList CapturedLines(int captureFd, bool stopped)
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
    return lines;
}

} // namespace

// One compiler process: its capture file, the tick that shows progress (and
// notices the end where the system gives no exit descriptor), the notifier of
// its end, and the timer that kills it when it ignores a stop.
struct TCompileRun {
    TCompileRun()
        : capture(OpenCapture())
    {
        ticker.setInterval(kTickMs);
        killer.setSingleShot(true);
        killer.setInterval(kStopGraceMs);
    }

    TCaptureFile capture;
    TChildProcess child;
    QTimer ticker;
    QTimer killer;
    std::unique_ptr<QSocketNotifier> exitNotifier;
    int ticks = 0;
    bool stopAsked = false;
};

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

QString CompilingStatus(int ticks)
{
    if (ticks <= 0 || ticks % kTicksPerDot != 0)
        return {};
    return QStringLiteral("Compiling") + QString(ticks / kTicksPerDot, u'.');
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

QString StopHintLine()
{
    return QStringLiteral("Press Esc in this list, or click Compile, to stop the compiler.");
}

QString CompileStoppedLine()
{
    return QStringLiteral("Compile stopped: the compiler was ended before it finished.");
}

TCompilerRunner::TCompilerRunner(QObject *parent)
    : QObject(parent)
{
}

TCompilerRunner::~TCompilerRunner() = default;

bool TCompilerRunner::Running() const
{
    return m_run != nullptr;
}

bool TCompilerRunner::Compile(const QString &compilerPath, const QString &sourcePath)
{
    if (Running())
        return false;
    if (!QFileInfo(compilerPath).isFile()) {
        EndAtOnce(CompilerNotFoundLine(compilerPath));
        return true;
    }
    return Run(compilerPath, u'"' + sourcePath + u'"');
}

bool TCompilerRunner::Run(const QString &compilerPath, const QString &quotedSource)
{
    if (Running())
        return false;
    auto run = std::make_unique<TCompileRun>();
    const int rc = run->child.Start(QFile::encodeName(compilerPath).toStdString(),
                                    {QFile::encodeName(Unquoted(quotedSource)).toStdString()}, run->capture.fd);
    if (rc != 0) {
        EndAtOnce(CouldNotRunLine(CompilerCommandLine(compilerPath, quotedSource),
                                  QString::fromLocal8Bit(std::strerror(rc))));
        return true;
    }
    m_run = std::move(run);
    connect(&m_run->ticker, &QTimer::timeout, this, &TCompilerRunner::Tick);
    connect(&m_run->killer, &QTimer::timeout, this, [this] { m_run->child.Signal(SIGKILL); });
    if (m_run->child.ExitDescriptor() >= 0) {
        m_run->exitNotifier = std::make_unique<QSocketNotifier>(m_run->child.ExitDescriptor(), QSocketNotifier::Read);
        connect(m_run->exitNotifier.get(), &QSocketNotifier::activated, this, &TCompilerRunner::EndIfExited);
    }
    m_run->ticker.start();
    emit Started();
    return true;
}

void TCompilerRunner::Stop()
{
    if (!m_run || m_run->stopAsked)
        return;
    m_run->stopAsked = true;
    m_run->child.Signal(SIGTERM);
    m_run->killer.start();
}

void TCompilerRunner::Tick()
{
    if (!m_run || EndIfExited())
        return;
    const QString status = CompilingStatus(++m_run->ticks);
    if (!status.isEmpty())
        emit Progress(status);
}

bool TCompilerRunner::EndIfExited()
{
    if (!m_run || !m_run->child.Ended())
        return false;
    End();
    return true;
}

// The run's state is gone before the view hears of the end, so that a slot
// of Finished may start the next compile. The run's timers and notifier go
// once the event loop is back, as one of them is reporting the end now.
void TCompilerRunner::End()
{
    std::shared_ptr<TCompileRun> run = std::move(m_run);
    run->ticker.stop();
    run->killer.stop();
    if (run->exitNotifier)
        run->exitNotifier->setEnabled(false);
    const QStringList lines = CapturedLines(run->capture.fd, run->stopAsked);
    const bool stopped = run->stopAsked;
    QMetaObject::invokeMethod(
        this, [run] {}, Qt::QueuedConnection);
    emit Output(lines);
    emit Finished(stopped);
}

void TCompilerRunner::EndAtOnce(const QString &line)
{
    emit Started();
    emit Output({line});
    emit Finished(false);
}
