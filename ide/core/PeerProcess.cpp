#include "PeerProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

void TieChildToParent(pid_t parent)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127);
}

TPeerProcess::TPeerProcess(QObject *parent)
    : QObject(parent)
{
}

TPeerProcess::~TPeerProcess()
{
    Stop();
}

bool TPeerProcess::Start(const QString &program, const QStringList &args, QString *error)
{
    Stop();
    m_reader = TMessageReader();
    m_stopping = false;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([parent] { TieChildToParent(parent); });
    connect(m_process, &QProcess::readyReadStandardOutput, this, &TPeerProcess::ReadMessages);
    connect(m_process, &QProcess::finished, this, &TPeerProcess::Finished);
    m_process->start(program, args);
    if (m_process->waitForStarted())
        return true;
    if (error)
        *error = QStringLiteral("%1 cannot be started: %2").arg(program, m_process->errorString());
    delete m_process;
    m_process = nullptr;
    return false;
}

void TPeerProcess::Send(const QJsonObject &message)
{
    if (Running())
        m_process->write(FrameMessage(message));
}

bool TPeerProcess::Running() const
{
    return m_process && m_process->state() == QProcess::Running;
}

void TPeerProcess::Stop()
{
    if (!m_process)
        return;
    m_stopping = true;
    m_process->disconnect(this);
    if (m_process->state() != QProcess::NotRunning) {
        m_process->closeWriteChannel();
        if (!m_process->waitForFinished(kStopTimeoutMs)) {
            m_process->kill();
            m_process->waitForFinished(kStopTimeoutMs);
        }
    }
    delete m_process;
    m_process = nullptr;
}

void TPeerProcess::ReadMessages()
{
    m_reader.Append(m_process->readAllStandardOutput());
    while (const auto message = m_reader.Next()) {
        emit MessageReceived(*message);
        if (!m_process) // a receiver stopped the peer
            return;
    }
    if (m_reader.Broken() && !m_stopping) {
        const QString program = m_process->program();
        m_process->kill(); // nothing it sends can be trusted any more
        Stop();
        emit Ended(QStringLiteral("%1 sent a message that cannot be read.").arg(program));
    }
}

void TPeerProcess::Finished(int exitCode, QProcess::ExitStatus status)
{
    if (m_stopping)
        return;
    ReadMessages(); // what the peer sent before it ended
    if (!m_process || m_stopping)
        return;
    const QString program = m_process->program();
    const QString reason = status == QProcess::CrashExit
        ? QStringLiteral("%1 ended unexpectedly.").arg(program)
        : QStringLiteral("%1 ended (exit code %2).").arg(program).arg(exitCode);
    m_process->deleteLater();
    m_process = nullptr;
    emit Ended(reason);
}
