#include "SimulatedModule.h"

#include "PeerProcess.h"
#include "Settings.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <unistd.h>

namespace {

const char *const kProgramName = "velsim";
const char *const kMissing = "The simulated module cannot be started: %1 is missing.";
const char *const kCannotStart = "The simulated module %1 cannot be started: %2";
const char *const kNoAnswer = "The simulated module %1 did not report its device.";
const char *const kEnded = "The simulated module %1 ended at once (exit code %2).";

} // namespace

TSimulatedModule::TSimulatedModule(QString programDir)
    : m_programDir(std::move(programDir))
{
}

TSimulatedModule::~TSimulatedModule()
{
    Stop();
}

QString TSimulatedModule::ProgramPath(const QString &programDir)
{
    return QDir(programDir).filePath(QString::fromLatin1(kProgramName));
}

bool TSimulatedModule::IsChosen(const QString &portName)
{
    return portName.trimmed().compare(Settings::kSimulatedModule, Qt::CaseInsensitive) == 0;
}

bool TSimulatedModule::Start(QString *error)
{
    Stop();
    const QString program = ProgramPath(m_programDir);
    const QFileInfo info(program);
    if (!info.exists() || !info.isExecutable())
        return Fail(error, QString::fromLatin1(kMissing).arg(program));
    m_process = std::make_unique<QProcess>();
    // The simulator's notices go where the workbench's own go; its standard
    // output carries only the device path.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setStandardInputFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([parent] { TieChildToParent(parent); });
    m_process->start(program, {QStringLiteral("--pty")});
    if (!m_process->waitForStarted(m_answerTimeoutMs))
        return Fail(error, QString::fromLatin1(kCannotStart).arg(program, m_process->errorString()));
    return ReadDevicePath(error);
}

// The first line velsim prints is its pseudo-terminal's path.
bool TSimulatedModule::ReadDevicePath(QString *error)
{
    const QString program = ProgramPath(m_programDir);
    const QDeadlineTimer deadline(m_answerTimeoutMs);
    while (!m_process->canReadLine() && m_process->state() == QProcess::Running && !deadline.hasExpired())
        m_process->waitForReadyRead(int(deadline.remainingTime()));
    const QString line = m_process->canReadLine() ? QString::fromLocal8Bit(m_process->readLine()).trimmed() : QString();
    if (line.startsWith('/') && m_process->state() == QProcess::Running) {
        m_devicePath = line;
        return true;
    }
    if (m_process->state() != QProcess::Running)
        return Fail(error, QString::fromLatin1(kEnded).arg(program).arg(m_process->exitCode()));
    return Fail(error, QString::fromLatin1(kNoAnswer).arg(program));
}

bool TSimulatedModule::Fail(QString *error, const QString &reason)
{
    Stop();
    if (error)
        *error = reason;
    return false;
}

QString TSimulatedModule::DevicePath() const
{
    return Running() ? m_devicePath : QString();
}

bool TSimulatedModule::Running() const
{
    return m_process && m_process->state() == QProcess::Running;
}

qint64 TSimulatedModule::ProcessId() const
{
    return Running() ? m_process->processId() : 0;
}

void TSimulatedModule::Stop()
{
    m_devicePath.clear();
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(kStopTimeoutMs)) {
            m_process->kill();
            m_process->waitForFinished(kStopTimeoutMs);
        }
    }
    m_process.reset();
}
