#include "DebugSession.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QTimer>

namespace {

constexpr int kThreadId = 1; // the module, the debugger's one thread

QJsonArray BreakpointsJson(const TSourceBreakpoints &breakpoints)
{
    QJsonArray list;
    for (const TSourceBreakpoint &breakpoint : breakpoints) {
        QJsonObject item{{"line", breakpoint.line}};
        if (!breakpoint.condition.isEmpty())
            item["condition"] = breakpoint.condition;
        if (breakpoint.hitCount > 1)
            item["hitCondition"] = QString::number(breakpoint.hitCount);
        list.append(item);
    }
    return list;
}

TDebugSession::TFrame FrameOf(const QJsonObject &frame)
{
    const QString path = frame["source"].toObject()["path"].toString();
    return {frame["name"].toString(), path.isEmpty() ? path : QFileInfo(path).absoluteFilePath(),
            frame["line"].toInt()};
}

QList<TDebugSession::TVariable> VariablesOf(const QJsonObject &body)
{
    QList<TDebugSession::TVariable> list;
    for (const QJsonValue &v : body["variables"].toArray()) {
        const QJsonObject var = v.toObject();
        list.append({var["name"].toString(), var["value"].toString(), var["type"].toString(),
                     var["variablesReference"].toInt()});
    }
    return list;
}

} // namespace

TDebugSession::TDebugSession(QObject *parent)
    : QObject(parent)
{
    connect(&m_peer, &TPeerProcess::MessageReceived, this, &TDebugSession::Received);
    connect(&m_peer, &TPeerProcess::Ended, this, &TDebugSession::Finish);
}

TDebugSession::~TDebugSession()
{
    m_peer.disconnect(this);
    if (m_peer.Running())
        Request(QStringLiteral("disconnect"));
}

bool TDebugSession::Start(const QString &velsim, const QString &image, const TBreakpointMap &breakpoints,
                          QString *error)
{
    Stop();
    m_breakpoints = breakpoints;
    m_watches.clear();
    m_replies.clear();
    m_runToFile.clear();
    m_ending = false;
    ++m_generation;
    if (!m_peer.Start(velsim, {QStringLiteral("--dap")}, error))
        return false;
    m_state = TState::Starting;
    Request(QStringLiteral("initialize"), {{"clientID", "korvid"}, {"adapterID", "velmo"}, {"linesStartAt1", true}},
            [this, image](bool ok, const QJsonObject &, const QString &why) {
                if (ok)
                    Launch(image);
                else
                    Finish(why);
            });
    return true;
}

void TDebugSession::Launch(const QString &image)
{
    const QJsonObject args{{"program", image}, {"serialLine", "pty"}};
    Request(QStringLiteral("launch"), args, [this](bool ok, const QJsonObject &body, const QString &why) {
        if (ok)
            emit Launched(body["pty"].toString());
        else
            Finish(why);
    });
}

// After the debugger's "initialized": the breakpoints, then the start.
void TDebugSession::Configure()
{
    for (const auto &[file, lines] : m_breakpoints)
        SendBreakpoints(file, lines);
    m_state = TState::Running;
    Request(QStringLiteral("configurationDone"));
    emit Resumed();
}

void TDebugSession::Stop()
{
    if (!Active())
        return;
    Request(QStringLiteral("disconnect"));
    Finish(tr("The debug session was stopped."));
}

void TDebugSession::Finish(const QString &reason)
{
    if (!Active())
        return;
    m_state = TState::Idle;
    m_frames.clear();
    m_variables.clear();
    m_hardware.clear();
    m_replies.clear();
    // The receivers let go of the program's serial line before the debugger
    // ends and takes it away; one that starts a new session keeps it.
    const int generation = ++m_generation;
    emit Ended(reason);
    if (generation == m_generation)
        m_peer.Stop();
}

void TDebugSession::Request(const QString &command, const QJsonObject &arguments, TReply reply)
{
    const int seq = ++m_seq;
    if (reply)
        m_replies.insert(seq, std::move(reply));
    m_peer.Send({{"seq", seq}, {"type", "request"}, {"command", command}, {"arguments", arguments}});
}

void TDebugSession::Received(const QJsonObject &message)
{
    const QString type = message["type"].toString();
    if (type == QLatin1String("event"))
        return Event(message["event"].toString(), message["body"].toObject());
    if (type != QLatin1String("response"))
        return;
    const TReply reply = m_replies.take(message["request_seq"].toInt());
    const bool ok = message["success"].toBool();
    const QString error = message["message"].toString();
    if (reply)
        reply(ok, message["body"].toObject(), error);
    else if (!ok)
        emit Refused(error);
}

void TDebugSession::Event(const QString &event, const QJsonObject &body)
{
    if (event == QLatin1String("initialized"))
        Configure();
    else if (event == QLatin1String("stopped"))
        FetchStop(body["reason"].toString(), body["text"].toString());
    else if (event == QLatin1String("output"))
        emit Output(body["output"].toString());
    else if (event == QLatin1String("exited"))
        FinishSoon(tr("The program ended (exit code %1).").arg(body["exitCode"].toInt()));
    else if (event == QLatin1String("terminated"))
        FinishSoon(tr("The program ended."));
}

// What the program sent last may still be on its way through the serial
// line, which ends with the debugger: the session ends a moment later.
void TDebugSession::FinishSoon(const QString &reason)
{
    if (m_ending)
        return;
    m_ending = true;
    const int generation = m_generation;
    QTimer::singleShot(kEndGraceMs, this, [this, generation, reason] {
        if (generation == m_generation)
            Finish(reason);
    });
}

// A stop is shown once its frames and variables are known.
void TDebugSession::FetchStop(const QString &reason, const QString &text)
{
    m_state = TState::Stopped;
    if (!m_runToFile.isEmpty()) {
        SendBreakpoints(m_runToFile, m_breakpoints[m_runToFile]);
        m_runToFile.clear();
    }
    // The frames last, with the stop shown: a place known means the stop's
    // values are known too.
    Request(QStringLiteral("stackTrace"), {{"threadId", kThreadId}},
            [this, reason, text](bool, const QJsonObject &body, const QString &) {
                QList<TFrame> frames;
                for (const QJsonValue &frame : body["stackFrames"].toArray())
                    frames.append(FrameOf(frame.toObject()));
                const auto shown = [this, reason, text, frames] {
                    if (m_state != TState::Stopped)
                        return;
                    m_frames = frames;
                    emit Stopped(reason, text);
                };
                FetchVariables(kVariablesScope, &m_variables,
                               [this, shown] { FetchVariables(kHardwareScope, &m_hardware, shown); });
            });
}

void TDebugSession::FetchVariables(int scope, QList<TVariable> *into, std::function<void()> then)
{
    Request(QStringLiteral("variables"), {{"variablesReference", scope}},
            [into, then = std::move(then)](bool, const QJsonObject &body, const QString &) {
                *into = VariablesOf(body);
                then();
            });
}

void TDebugSession::SetBreakpoints(const QString &file, const TSourceBreakpoints &breakpoints)
{
    m_breakpoints[file] = breakpoints;
    if (m_state == TState::Running || m_state == TState::Stopped)
        SendBreakpoints(file, breakpoints);
}

// The answers come in the order of the request.
void TDebugSession::SendBreakpoints(const QString &file, const TSourceBreakpoints &breakpoints)
{
    Request(QStringLiteral("setBreakpoints"),
            {{"source", QJsonObject{{"path", file}}}, {"breakpoints", BreakpointsJson(breakpoints)}},
            [this, file, breakpoints](bool ok, const QJsonObject &body, const QString &why) {
                if (!ok)
                    return emit Refused(why);
                const QJsonArray answers = body["breakpoints"].toArray();
                for (qsizetype i = 0; i < answers.size() && i < breakpoints.size(); ++i) {
                    const QJsonObject answer = answers[i].toObject();
                    if (!answer["verified"].toBool())
                        emit BreakpointRefused(file, breakpoints[i].line, answer["message"].toString());
                }
            });
}

void TDebugSession::SetWatchpoint(const QString &variable, bool on)
{
    if (on == m_watches.contains(variable) || (m_state != TState::Stopped && m_state != TState::Running))
        return;
    if (on)
        m_watches.append(variable);
    else
        m_watches.removeAll(variable);
    SendWatchpoints();
}

// The debugger names a variable's data by the variable's name.
void TDebugSession::SendWatchpoints()
{
    QJsonArray list;
    for (const QString &name : std::as_const(m_watches))
        list.append(QJsonObject{{"dataId", name}, {"accessType", "write"}});
    Request(QStringLiteral("setDataBreakpoints"), {{"breakpoints", list}},
            [this, names = m_watches](bool ok, const QJsonObject &body, const QString &why) {
                if (!ok)
                    return emit Refused(why);
                const QJsonArray answers = body["breakpoints"].toArray();
                for (qsizetype i = 0; i < answers.size() && i < names.size(); ++i)
                    if (!answers[i].toObject()["verified"].toBool()) {
                        m_watches.removeAll(names[i]);
                        emit Refused(answers[i].toObject()["message"].toString());
                    }
            });
}

void TDebugSession::Resume(const QString &command)
{
    if (m_state != TState::Stopped)
        return;
    m_state = TState::Running;
    m_frames.clear();
    m_variables.clear();
    m_hardware.clear();
    Request(command, {{"threadId", kThreadId}});
    emit Resumed();
}

void TDebugSession::Continue()
{
    Resume(QStringLiteral("continue"));
}

void TDebugSession::StepOver()
{
    Resume(QStringLiteral("next"));
}

void TDebugSession::StepIn()
{
    Resume(QStringLiteral("stepIn"));
}

void TDebugSession::StepOut()
{
    Resume(QStringLiteral("stepOut"));
}

void TDebugSession::Pause()
{
    if (m_state == TState::Running)
        Request(QStringLiteral("pause"), {{"threadId", kThreadId}});
}

void TDebugSession::RunToLine(const QString &file, int line)
{
    if (m_state != TState::Stopped)
        return;
    TSourceBreakpoints breakpoints = m_breakpoints[file];
    breakpoints.append(TSourceBreakpoint(line));
    m_runToFile = file;
    SendBreakpoints(file, breakpoints);
    Continue();
}

void TDebugSession::Children(int reference, std::function<void(const QList<TVariable> &)> done)
{
    if (m_state != TState::Stopped)
        return;
    Request(QStringLiteral("variables"), {{"variablesReference", reference}},
            [done = std::move(done)](bool, const QJsonObject &body, const QString &) { done(VariablesOf(body)); });
}

void TDebugSession::SetVariable(int reference, const QString &name, const QString &value, TReply reply)
{
    if (m_state != TState::Stopped)
        return reply(false, {}, tr("The program is running."));
    Request(QStringLiteral("setVariable"), {{"variablesReference", reference}, {"name", name}, {"value", value}},
            std::move(reply));
}
