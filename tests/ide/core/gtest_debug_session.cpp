// The workbench's debug session against the real velsim --dap, on programs
// compiled by the fresh velc: breakpoints sent at the start and while
// stopped, stepping over, into and out of a GOSUB, run to a line, changing a
// variable, a runtime error, the program's serial line on the announced
// pseudo-terminal, and the end of the program.

#include "../support/PtyPeer.h"
#include "DebugSession.h"

#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

const char kProgram[] = "' session test\n" // 1
                        "INTEGER count, total\n" // 2
                        "BYTE vals[3]\n" // 3
                        "total = 0\n" // 4
                        "\n" // 5
                        "FOR count = 1 TO 3\n" // 6
                        "  GOSUB AddUp\n" // 7
                        "NEXT\n" // 8
                        "PRINT \"total=\", total\n" // 9
                        "END\n" // 10
                        "AddUp:\n" // 11
                        "  total = total + count\n" // 12
                        "  vals[1] = count\n" // 13
                        "RETURN\n"; // 14

const char kPorts[] = "INTEGER count\n" // 1
                      "SETPORT 1, $FF\n" // 2
                      "PORT1 = 5\n" // 3
                      "count = 1\n" // 4
                      "END\n"; // 5

const char kDivision[] = "INTEGER total, count\n" // 1
                         "total = 10\n" // 2
                         "' the average\n" // 3
                         "PRINT total / count\n"; // 4

QString BinDir()
{
    return qEnvironmentVariable("VELMO_BIN_DIR");
}

// A program compiled by the velc of this build; its image path, empty when
// it did not compile.
QString Compile(const QTemporaryDir &dir, const char *source)
{
    const QString bas = dir.filePath("prog.bas");
    QFile file(bas);
    if (!file.open(QIODevice::WriteOnly) || file.write(source) < 0)
        return QString();
    file.close();
    QProcess velc;
    velc.start(BinDir() + "/velc", {bas});
    if (!velc.waitForFinished(20000) || velc.exitCode() != 0)
        return QString();
    return dir.filePath("prog.hex");
}

struct SessionFixture : ::testing::Test {
    void SetUp() override
    {
        EnsureCoreApplication();
        ASSERT_TRUE(QFile::exists(BinDir() + "/velsim")) << "velsim is not built in " << BinDir().toStdString();
        QObject::connect(&session, &TDebugSession::Launched, [this](const QString &path) { pty = path; });
        QObject::connect(&session, &TDebugSession::Stopped, [this](const QString &r, const QString &t) {
            reason = r;
            text = t;
            ++stops;
        });
        QObject::connect(&session, &TDebugSession::Ended, [this](const QString &why) { ended = why; });
    }

    void StartOn(const char *source, const TDebugSession::TBreakpointMap &breakpoints)
    {
        image = Compile(dir, source);
        ASSERT_FALSE(image.isEmpty()) << "the program did not compile";
        QString error;
        ASSERT_TRUE(session.Start(BinDir() + "/velsim", image, breakpoints, &error)) << error.toStdString();
    }

    // Waits for the next stop after an action.
    bool NextStop(const std::function<void()> &action)
    {
        const int before = stops;
        action();
        return WaitFor([&] { return stops > before || !session.Active(); }, 10000) && stops > before;
    }

    QString Source() const
    {
        return QFileInfo(dir.filePath("prog.bas")).absoluteFilePath();
    }

    QString ValueOf(const QString &name) const
    {
        for (const TDebugSession::TVariable &v : session.Variables())
            if (v.name == name)
                return v.value;
        return QStringLiteral("<none>");
    }

    // Runs the program to its end, counting the stops.
    bool RunsToTheEnd()
    {
        for (int guard = 0; guard < 20 && session.Active(); ++guard)
            if (!NextStop([&] { session.Continue(); }))
                break;
        return WaitFor([&] { return !session.Active(); }, 10000);
    }

    QTemporaryDir dir;
    QString image;
    TDebugSession session;
    QString pty, reason, text, ended;
    int stops = 0;
};

TEST_F(SessionFixture, BreakpointSentAtTheStartIsHitAtItsLine)
{
    StartOn(kProgram, {{Source(), {12}}});
    ASSERT_TRUE(NextStop([] {}));
    EXPECT_EQ(reason, "breakpoint");
    EXPECT_EQ(session.File(), Source());
    EXPECT_EQ(session.Line(), 12);
    EXPECT_EQ(ValueOf("count"), "1");
    EXPECT_EQ(ValueOf("total"), "0");
    ASSERT_EQ(session.Frames().size(), 2) << "the GOSUB is a frame";
    EXPECT_EQ(session.Frames()[1].line, 7);
}

TEST_F(SessionFixture, BreakpointOnABlankLineMovesToTheNextStatement)
{
    StartOn(kProgram, {{Source(), {5}}});
    ASSERT_TRUE(NextStop([] {}));
    EXPECT_EQ(session.Line(), 6);
}

// From a stop at the GOSUB (line 7, first pass), one command after the
// other, and where each ends.
TEST_F(SessionFixture, SteppingMovesAsTheCommandSays)
{
    struct Case {
        const char *name;
        void (TDebugSession::*command)();
        int line;
        int frames;
        const char *reason;
    };
    const Case cases[] = {
        {"step into enters the subroutine", &TDebugSession::StepIn, 12, 2, "step"},
        {"step into the next line of the subroutine", &TDebugSession::StepIn, 13, 2, "step"},
        {"step out runs until the RETURN", &TDebugSession::StepOut, 8, 1, "step"},
        {"step over the NEXT meets the GOSUB's breakpoint", &TDebugSession::StepOver, 7, 1, "breakpoint"},
        {"step over runs the GOSUB as one step", &TDebugSession::StepOver, 8, 1, "step"},
    };
    StartOn(kProgram, {{Source(), {7}}});
    ASSERT_TRUE(NextStop([] {}));
    ASSERT_EQ(session.Line(), 7);
    for (const Case &c : cases) {
        ASSERT_TRUE(NextStop([&] { (session.*c.command)(); })) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
        EXPECT_EQ(session.Line(), c.line) << c.name;
        EXPECT_EQ(session.Frames().size(), c.frames) << c.name;
    }
}

TEST_F(SessionFixture, BreakpointsChangedWhileStoppedCountAtOnce)
{
    StartOn(kProgram, {{Source(), {7}}});
    ASSERT_TRUE(NextStop([] {}));
    session.SetBreakpoints(Source(), {13});
    ASSERT_TRUE(NextStop([&] { session.Continue(); }));
    EXPECT_EQ(session.Line(), 13);
    EXPECT_EQ(ValueOf("count"), "1") << "line 7 no longer stops";
    session.SetBreakpoints(Source(), {});
    session.Continue();
    EXPECT_TRUE(WaitFor([&] { return !session.Active(); }, 10000));
    EXPECT_TRUE(ended.contains("exit code 0")) << ended.toStdString();
}

TEST_F(SessionFixture, RunToLineStopsThereOnce)
{
    StartOn(kProgram, {{Source(), {4}}});
    ASSERT_TRUE(NextStop([] {}));
    ASSERT_TRUE(NextStop([&] { session.RunToLine(Source(), 13); }));
    EXPECT_EQ(session.Line(), 13);
    EXPECT_EQ(ValueOf("total"), "1");
    session.Continue(); // the run-to line is gone: the program ends
    EXPECT_TRUE(WaitFor([&] { return !session.Active(); }, 10000));
    EXPECT_EQ(stops, 2);
}

TEST_F(SessionFixture, ChangedVariableIsPrintedOnThePseudoTerminalBeforeTheNextStop)
{
    StartOn(kProgram, {{Source(), {9}}});
    ASSERT_TRUE(WaitFor([&] { return !pty.isEmpty(); }));
    const int fd = ::open(pty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0) << pty.toStdString();
    ASSERT_TRUE(NextStop([] {}));
    ASSERT_EQ(ValueOf("total"), "6");
    bool done = false;
    QString answer;
    session.SetVariable(TDebugSession::kVariablesScope, "total", "1234",
                        [&](bool ok, const QJsonObject &body, const QString &error) {
                            done = true;
                            answer = ok ? body["value"].toString() : error;
                        });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_EQ(answer, "1234");
    ASSERT_TRUE(NextStop([&] { session.StepOver(); })); // the PRINT
    EXPECT_EQ(session.Line(), 10);
    QByteArray output;
    WaitFor([&] {
        char chunk[256];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0)
            output.append(chunk, n);
        return output.contains("1234");
    });
    ::close(fd);
    EXPECT_TRUE(output.contains("1234")) << output.toStdString();
    EXPECT_EQ(session.State(), TDebugSession::TState::Stopped) << "the output came with the stop, not at the end";
}

TEST_F(SessionFixture, ArrayElementsAreChildren)
{
    StartOn(kProgram, {{Source(), {9}}});
    ASSERT_TRUE(NextStop([] {}));
    int reference = 0;
    for (const TDebugSession::TVariable &v : session.Variables())
        if (v.name == "vals")
            reference = v.children;
    ASSERT_GT(reference, 0);
    QList<TDebugSession::TVariable> elements;
    session.Children(reference, [&](const QList<TDebugSession::TVariable> &list) { elements = list; });
    ASSERT_TRUE(WaitFor([&] { return !elements.isEmpty(); }));
    ASSERT_EQ(elements.size(), 3);
    EXPECT_EQ(elements[1].name, "[1]");
    EXPECT_EQ(elements[1].value, "3");
}

TEST_F(SessionFixture, RuntimeErrorStopsAtItsSourceLine)
{
    StartOn(kDivision, {});
    ASSERT_TRUE(NextStop([] {}));
    EXPECT_EQ(reason, "exception");
    EXPECT_TRUE(text.contains("Division by zero")) << text.toStdString();
    EXPECT_EQ(session.Line(), 4);
    session.Continue();
    EXPECT_TRUE(WaitFor([&] { return !session.Active(); }, 10000));
    EXPECT_TRUE(ended.contains("exit code 1")) << ended.toStdString();
}

TEST_F(SessionFixture, StopEndsTheSession)
{
    StartOn(kProgram, {{Source(), {6}}});
    ASSERT_TRUE(NextStop([] {}));
    session.Stop();
    EXPECT_FALSE(session.Active());
    EXPECT_FALSE(ended.isEmpty());
    EXPECT_TRUE(session.Frames().isEmpty());
}

// The subroutine's line 12 runs with count 1, 2 and 3: where each breakpoint
// stops first, and how often in all.
TEST_F(SessionFixture, ConditionsAndHitCountsChooseTheStops)
{
    struct Case {
        const char *name;
        TSourceBreakpoint breakpoint;
        QStringList counts; // count at each stop
    };
    const Case cases[] = {
        {"plain", TSourceBreakpoint(12), {"1", "2", "3"}},
        {"condition", TSourceBreakpoint(12, "count > 1"), {"2", "3"}},
        {"condition on two variables", TSourceBreakpoint(12, "count + total = 6"), {"3"}},
        {"hit count", TSourceBreakpoint(12, "", 3), {"3"}},
        {"hit count 2 stops from the second hit on", TSourceBreakpoint(12, "", 2), {"2", "3"}},
        {"hits counted where the condition holds", TSourceBreakpoint(12, "count >= 2", 2), {"3"}},
        {"a condition that never holds", TSourceBreakpoint(12, "count > 5"), {}},
    };
    for (const Case &c : cases) {
        stops = 0;
        QStringList counts;
        const QMetaObject::Connection counting =
            QObject::connect(&session, &TDebugSession::Stopped, [&] { counts << ValueOf("count"); });
        StartOn(kProgram, {{Source(), {c.breakpoint}}});
        ASSERT_TRUE(WaitFor([&] { return stops > 0 || !session.Active(); }, 10000)) << c.name;
        EXPECT_TRUE(RunsToTheEnd()) << c.name;
        EXPECT_EQ(counts, c.counts) << c.name;
        QObject::disconnect(counting);
    }
}

TEST_F(SessionFixture, ConditionSetWhileStoppedCountsAtOnce)
{
    StartOn(kProgram, {{Source(), {7}}});
    ASSERT_TRUE(NextStop([] {}));
    session.SetBreakpoints(Source(), {TSourceBreakpoint(13, "count = 3")});
    ASSERT_TRUE(NextStop([&] { session.Continue(); }));
    EXPECT_EQ(session.Line(), 13);
    EXPECT_EQ(ValueOf("count"), "3");
}

// A condition velsim cannot compile is answered, not dropped: the line and
// the debugger's reason come back, and the program runs past it.
TEST_F(SessionFixture, RefusedConditionIsReported)
{
    const char *const conditions[] = {"count >", "nosuch = 1", "count = = 2"};
    for (const char *condition : conditions) {
        QStringList refusals;
        const QMetaObject::Connection listening = QObject::connect(
            &session, &TDebugSession::BreakpointRefused, [&](const QString &file, int line, const QString &message) {
                refusals << QStringLiteral("%1:%2:%3").arg(QFileInfo(file).fileName()).arg(line).arg(message);
            });
        stops = 0;
        StartOn(kProgram, {{Source(), {TSourceBreakpoint(12, condition), TSourceBreakpoint(9)}}});
        ASSERT_TRUE(NextStop([] {})) << condition;
        EXPECT_EQ(session.Line(), 9) << condition << ": the refused breakpoint does not stop";
        ASSERT_EQ(refusals.size(), 1) << condition;
        EXPECT_TRUE(refusals[0].startsWith("prog.bas:12:condition")) << refusals[0].toStdString();
        QObject::disconnect(listening);
        session.Stop();
    }
}

// Watching total from line 4 (before "total = 0", which does not change it):
// each pass through the subroutine changes it once.
TEST_F(SessionFixture, WatchpointStopsWhenTheVariableChanges)
{
    StartOn(kProgram, {{Source(), {4}}});
    ASSERT_TRUE(NextStop([] {}));
    session.SetWatchpoint("total", true);
    EXPECT_EQ(session.Watchpoints(), QStringList{"total"});
    for (const char *total : {"1", "3"}) {
        ASSERT_TRUE(NextStop([&] { session.Continue(); })) << total;
        EXPECT_EQ(reason, "data breakpoint");
        EXPECT_EQ(text, "total");
        EXPECT_EQ(ValueOf("total"), total);
        EXPECT_EQ(session.Frames().size(), 2) << "stopped inside the subroutine";
    }
    session.SetWatchpoint("total", false);
    EXPECT_TRUE(session.Watchpoints().isEmpty());
    session.Continue();
    EXPECT_TRUE(WaitFor([&] { return !session.Active(); }, 10000));
    EXPECT_EQ(stops, 3);
}

TEST_F(SessionFixture, WatchpointOnAnUnknownNameIsRefused)
{
    QString refused;
    QObject::connect(&session, &TDebugSession::Refused, [&](const QString &why) { refused = why; });
    StartOn(kProgram, {{Source(), {4}}});
    ASSERT_TRUE(NextStop([] {}));
    session.SetWatchpoint("nosuch", true);
    EXPECT_TRUE(WaitFor([&] { return !refused.isEmpty(); }));
    EXPECT_TRUE(refused.contains("nosuch")) << refused.toStdString();
    EXPECT_TRUE(session.Watchpoints().isEmpty());
}

TEST_F(SessionFixture, HardwareIsReadAtEachStop)
{
    StartOn(kPorts, {{Source(), {3, 4}}});
    const auto port1 = [this] {
        for (const TDebugSession::TVariable &item : session.Hardware())
            if (item.name == "PORT1")
                return item.value;
        return QStringLiteral("<none>");
    };
    ASSERT_TRUE(NextStop([] {}));
    EXPECT_EQ(port1(), "0");
    ASSERT_TRUE(NextStop([&] { session.Continue(); }));
    EXPECT_EQ(port1(), "5");
    EXPECT_EQ(ValueOf("PORT1"), "<none>") << "the hardware is not among the variables";
    session.Continue();
    EXPECT_TRUE(WaitFor([&] { return !session.Active(); }, 10000));
    EXPECT_TRUE(session.Hardware().isEmpty());
}

TEST(DebugSession, MissingDebuggerIsNamed)
{
    EnsureCoreApplication();
    TDebugSession session;
    QString error;
    EXPECT_FALSE(session.Start("/nonexistent/velsim", "prog.hex", {}, &error));
    EXPECT_TRUE(error.contains("/nonexistent/velsim")) << error.toStdString();
    EXPECT_FALSE(session.Active());
}

} // namespace
