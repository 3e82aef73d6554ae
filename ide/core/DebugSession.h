#pragma once

#include "PeerProcess.h"
#include "SourceBreakpoint.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>

// A debug session on the simulated module: the workbench as a client of
// "velsim --dap". It starts the simulator's debugger on a program image,
// sends the breakpoints, steps and continues, and keeps what the workbench
// shows while the program is stopped: where it stands, the GOSUB frames and
// the variables. The program's serial line is the pseudo-terminal the
// debugger announces (Launched), so the console connects to it as to the
// simulated module. Nothing here blocks but Stop.
class TDebugSession : public QObject {
    Q_OBJECT
public:
    enum class TState { Idle, Starting, Running, Stopped };

    struct TFrame {
        QString name;
        QString file; // absolute
        int line = 0;
    };
    struct TVariable {
        QString name;
        QString value;
        QString type;
        int children = 0; // a reference for Children, 0 for a plain value
    };
    using TReply = std::function<void(bool ok, const QJsonObject &body, const QString &error)>;

    explicit TDebugSession(QObject *parent = nullptr);
    ~TDebugSession() override;

    using TBreakpointMap = std::map<QString, TSourceBreakpoints>;

    // Starts velsim --dap on the image (its .map beside it). breakpoints maps
    // a source file to its breakpoints; false with the reason when velsim
    // cannot run.
    bool Start(const QString &velsim, const QString &image, const TBreakpointMap &breakpoints, QString *error);
    // Ends the program and the debugger; Ended follows unless it already ended.
    void Stop();

    // The breakpoints of one source file; sent at once while the session runs.
    // One the debugger refuses (a condition it cannot compile) comes back
    // as BreakpointRefused.
    void SetBreakpoints(const QString &file, const TSourceBreakpoints &breakpoints);
    // Stops when the variable changes (on) or no longer (off); for the
    // session, while it is stopped.
    void SetWatchpoint(const QString &variable, bool on);
    const QStringList &Watchpoints() const
    {
        return m_watches;
    }
    void Continue();
    void Pause();
    void StepOver();
    void StepIn();
    void StepOut();
    // Continues until the line (or a breakpoint before it).
    void RunToLine(const QString &file, int line);
    // The elements of an array variable (TVariable::children).
    void Children(int reference, std::function<void(const QList<TVariable> &)> done);
    // Changes a variable (an element: its parent's reference and "[i]");
    // the reply's body holds the new "value".
    void SetVariable(int reference, const QString &name, const QString &value, TReply reply);

    TState State() const
    {
        return m_state;
    }
    bool Active() const
    {
        return m_state != TState::Idle;
    }
    // While stopped: the top frame's place, the frames and the variables.
    QString File() const
    {
        return m_frames.isEmpty() ? QString() : m_frames.first().file;
    }
    int Line() const
    {
        return m_frames.isEmpty() ? 0 : m_frames.first().line;
    }
    const QList<TFrame> &Frames() const
    {
        return m_frames;
    }
    const QList<TVariable> &Variables() const
    {
        return m_variables;
    }
    // The simulated module's ports, display and timers; read-only.
    const QList<TVariable> &Hardware() const
    {
        return m_hardware;
    }
    static constexpr int kVariablesScope = 1; // the adapter's reference of the variables
    static constexpr int kHardwareScope = 2; // ... and of the hardware
    static constexpr int kEndGraceMs = 300; // from the program's end to the session's

signals:
    // The program is loaded; its serial line is the pseudo-terminal at path.
    // The program starts after the receivers return.
    void Launched(const QString &path);
    // Stopped with frames and variables known; reason as the debugger says
    // it ("breakpoint", "step", "pause", "exception", ...), text for an
    // exception (the runtime error).
    void Stopped(const QString &reason, const QString &text);
    void Resumed();
    // What the debugger says outside the program (compile messages, notices).
    void Output(const QString &text);
    // A request the debugger refused, in its words.
    void Refused(const QString &message);
    // A breakpoint the debugger did not set, in its words.
    void BreakpointRefused(const QString &file, int line, const QString &message);
    // The session is over: the program ended or the debugger went away. The
    // debugger (and the serial line) ends after the receivers return.
    void Ended(const QString &reason);

private:
    void Request(const QString &command, const QJsonObject &arguments = {}, TReply reply = {});
    void Received(const QJsonObject &message);
    void Event(const QString &event, const QJsonObject &body);
    void Launch(const QString &image);
    void Configure();
    void SendBreakpoints(const QString &file, const TSourceBreakpoints &breakpoints);
    void SendWatchpoints();
    void FetchVariables(int scope, QList<TVariable> *into, std::function<void()> then);
    void FetchStop(const QString &reason, const QString &text);
    void Resume(const QString &command);
    void Finish(const QString &reason);
    void FinishSoon(const QString &reason);

    TPeerProcess m_peer;
    TState m_state = TState::Idle;
    int m_seq = 0;
    int m_generation = 0; // counts the starts and ends
    bool m_ending = false; // the program ended, the session ends soon
    QHash<int, TReply> m_replies;
    TBreakpointMap m_breakpoints;
    QStringList m_watches;
    QString m_runToFile; // the file whose breakpoints hold a run-to line
    QList<TFrame> m_frames;
    QList<TVariable> m_variables;
    QList<TVariable> m_hardware;
};
