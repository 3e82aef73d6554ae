#pragma once

#include "MessageFraming.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

// A protocol peer run as a child program (the simulated module's debugger,
// the language server): messages go to its standard input and come from its
// standard output, framed with a length header; its notices on standard
// error go where the workbench's own go. The child never outlives the
// workbench. Nothing here blocks but Stop.
class TPeerProcess : public QObject {
    Q_OBJECT
public:
    static constexpr int kStopTimeoutMs = 2000;

    explicit TPeerProcess(QObject *parent = nullptr);
    ~TPeerProcess() override; // stops the peer

    // Starts the program; false with the reason when it cannot run.
    bool Start(const QString &program, const QStringList &args, QString *error);
    // Sends one message; dropped when the peer is not running.
    void Send(const QJsonObject &message);
    bool Running() const;
    // Closes the peer's input, waits kStopTimeoutMs for it to end, then kills it.
    void Stop();

signals:
    void MessageReceived(const QJsonObject &message);
    // The peer ended or broke the framing; reason says which, in words.
    void Ended(const QString &reason);

private:
    void ReadMessages();
    void Finished(int exitCode, QProcess::ExitStatus status);

    QProcess *m_process = nullptr;
    TMessageReader m_reader;
    bool m_stopping = false;
};

// For QProcess::setChildProcessModifier: the child is killed when the thread
// that started it ends, and ends at once if that has already happened.
void TieChildToParent(pid_t parent);
