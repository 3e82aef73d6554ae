#include "BuildList.h"
#include "ColorListBox.h"
#include "CompilerRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

constexpr int kEndTimeoutMs = 20000;

// What a runner reported, in the order it did: "started", "progress <status>",
// "output <n> lines", "finished" or "finished stopped".
struct TReport {
    explicit TReport(TCompilerRunner &runner)
    {
        QObject::connect(&runner, &TCompilerRunner::Started, [this] { events << "started"; });
        QObject::connect(&runner, &TCompilerRunner::Progress,
                         [this](const QString &status) { events << "progress " + status; });
        QObject::connect(&runner, &TCompilerRunner::Output, [this](const QStringList &shown) {
            events << QString("output %1 lines").arg(shown.size());
            lines = shown;
        });
        QObject::connect(&runner, &TCompilerRunner::Finished,
                         [this](bool stopped) { events << (stopped ? "finished stopped" : "finished"); });
    }

    bool Finished() const
    {
        return !events.isEmpty() && events.last().startsWith("finished");
    }

    // Lets the event loop run until the end is reported.
    bool WaitForEnd() const
    {
        return QTest::qWaitFor([this] { return Finished(); }, kEndTimeoutMs);
    }

    QStringList events;
    QStringList lines;
};

} // namespace

// Runs scripts standing in for the compiler: they print what the real one
// prints, slowly or not at all.
class TestCompilerRunner : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_runtime; // the user's runtime folder, where output is captured

    // Files left in the capture folder.
    QStringList LeftInRuntime() const
    {
        return QDir(m_runtime).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QString WriteCompiler(const QString &dir, const QByteArray &script, bool executable = true)
    {
        const QString path = CompilerPath(dir + "/");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\n" + script);
        file.close();
        QFile::Permissions perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        if (executable)
            perms |= QFileDevice::ExeOwner;
        file.setPermissions(perms);
        return path;
    }

    QString NewDir(const QString &name)
    {
        QDir(m_dir.path()).mkpath(name);
        return m_dir.filePath(name);
    }

    // Runs the compiler on the source and returns what the runner reported
    // once it ended.
    static std::unique_ptr<TReport> RunToEnd(TCompilerRunner &runner, const QString &compiler,
                                             const QString &quotedSource)
    {
        auto report = std::make_unique<TReport>(runner);
        if (!runner.Run(compiler, quotedSource) || !report->WaitForEnd())
            report->events << "no end";
        return report;
    }

    // Lines the Build list shows after a run of the compiler to its end.
    static QStringList ListAfterRun(const QString &compiler, const QString &quotedSource,
                                    const QStringList &before = {})
    {
        TCompilerRunner runner;
        TColorListBox list;
        list.SetLines(before);
        ShowCompilesIn(runner, &list);
        const std::unique_ptr<TReport> report = RunToEnd(runner, compiler, quotedSource);
        return report->Finished() ? list.Lines() : QStringList({"no end"});
    }

    // The pid the compiler script wrote to the file "pid" beside itself.
    static pid_t WrittenPid(const QString &dir)
    {
        QFile pidFile(dir + "/pid");
        return pidFile.open(QIODevice::ReadOnly) ? pid_t(pidFile.readAll().trimmed().toInt()) : 0;
    }

private slots:
    void init()
    {
        static int run = 0;
        m_runtime = NewDir(QString("runtime-%1").arg(++run));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
    }

    void PathsAndStatus()
    {
        QCOMPARE(CompilerPath("/opt/velmo/"), QString("/opt/velmo/velc"));
        QCOMPARE(CaptureFolders(), QStringList({m_runtime, QDir::tempPath()}));
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(CaptureFolders(), QStringList({QDir::tempPath()}));
        QCOMPARE(CompilerCommandLine("/p/velc", "\"/s/a b.bas\""), QString("/p/velc \"/s/a b.bas\""));
        const struct {
            int ticks;
            const char *status;
        } table[] = {
            {0, ""}, {1, ""}, {9, ""}, {10, "Compiling."}, {11, ""}, {20, "Compiling.."}, {30, "Compiling..."}};
        for (const auto &row : table)
            QCOMPARE(CompilingStatus(row.ticks), QString(row.status));
    }

    // The list shows exactly the captured lines, empty ones included; the
    // source reaches the compiler as one argument without the quotes; the
    // exit code is not looked at; the capture file is gone afterwards.
    void ShowsCapturedOutput_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "src";
        QTest::newRow("blank and parenthesis") << "my src (2)";
    }
    void ShowsCapturedOutput()
    {
        QFETCH(QString, folder);
        const QString dir = NewDir("out-" + folder);
        const QString compiler =
            WriteCompiler(dir,
                          "printf 'Velmo Compiler V2.4\\n\\nCompiling...\\n  >> %s\\n' \"$1\"\n"
                          "printf '%s(3): Syntax error.\\n\\nBuild finished.\\n1 - Error(s).\\n\\n' \"$1\"\n"
                          "exit 1\n");
        const QString source = NewDir(folder) + "/prog.bas";
        QCOMPARE(ListAfterRun(compiler, '"' + source + '"', {"old line"}),
                 QStringList({"Velmo Compiler V2.4", "", "Compiling...", "  >> " + source,
                              source + "(3): Syntax error.", "", "Build finished.", "1 - Error(s).", ""}));
        QCOMPARE(LeftInRuntime(), QStringList());
    }

    void StaleCaptureFileIsNotShown()
    {
        const QString dir = NewDir("stale");
        const QString compiler = WriteCompiler(dir, "echo new\n");
        QFile stale(dir + "/velc.out");
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("left over 1\nleft over 2\nleft over 3\n");
        stale.close();
        QCOMPARE(ListAfterRun(compiler, "\"/x/a.bas\""), QStringList({"new"}));
        QCOMPARE(QFileInfo(stale).size(), 36);
    }

    // Links planted by another user where the capture file used to be (beside
    // the compiler) or might be guessed to be: F9 writes through none of them.
    // The compiler's standard output is a file only this user may read, in
    // the runtime folder, already removed while the compiler runs.
    void CaptureFileIsPrivateAndFollowsNoLink()
    {
        const QString dir = NewDir("shared");
        const QString victim = NewDir("victim") + "/notes.txt";
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the victim's notes\n");
        file.close();
        const QByteArray temp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(NewDir("tmp")));
        for (const QString &planted : {dir + "/velc.out", m_runtime + "/velc.out", QDir::tempPath() + "/velc.out"})
            QVERIFY(QFile::link(victim, planted));
        const QString compiler =
            WriteCompiler(dir, "stat -L -c %a /proc/self/fd/1\nreadlink /proc/self/fd/1\necho new\n");
        const QStringList lines = ListAfterRun(compiler, "\"/x/a.bas\"");
        temp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString("600"));
        QVERIFY2(lines[1].startsWith(m_runtime + "/velc-") && lines[1].endsWith(".out (deleted)"),
                 qPrintable(lines[1]));
        QCOMPARE(lines[2], QString("new"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("the victim's notes\n"));
        QCOMPARE(LeftInRuntime(), QStringList({"velc.out"})); // only the planted link
    }

    // A compiler that prints without end fills no memory: the output holds
    // the start of what it printed and says it is cut.
    void EndlessOutputIsCut()
    {
        const QString compiler = WriteCompiler(NewDir("chatty"), "head -c 17000000 /dev/zero | tr '\\0' x\n");
        TCompilerRunner runner;
        const std::unique_ptr<TReport> report = RunToEnd(runner, compiler, "\"/x/a.bas\"");
        QCOMPARE(report->events.last(), QString("finished"));
        QCOMPARE(report->lines.size(), 2);
        QCOMPARE(report->lines[0].size(), qsizetype(kMaxCaptureBytes));
        QCOMPARE(report->lines[1], OutputCutLine());
    }

    // Every line the compiler printed arrives, in its order, after the
    // progress and before the end.
    void OutputLinesArriveInOrder()
    {
        const QString compiler = WriteCompiler(NewDir("counting"), "sleep 1.5\nseq 1 5000\n");
        TCompilerRunner runner;
        const std::unique_ptr<TReport> report = RunToEnd(runner, compiler, "\"/x/a.bas\"");
        QCOMPARE(report->events, QStringList({"started", "progress Compiling.", "output 5000 lines", "finished"}));
        for (int i = 0; i < report->lines.size(); ++i)
            QCOMPARE(report->lines[i], QString::number(i + 1));
    }

    // A compile started from a slot returns at once: the event loop that ran
    // the slot goes on, and no timer of the window ever runs inside the slot.
    void CompileReturnsAtOnceWithoutNestingTheEventLoop()
    {
        const QString compiler = WriteCompiler(NewDir("slow"), "sleep 0.6\necho done\n");
        TCompilerRunner runner;
        TReport report(runner);
        int depth = 0;
        QList<int> depthsSeen;
        qint64 startMs = -1;
        bool accepted = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] { depthsSeen << depth; });
        probe.start(10);
        QTimer::singleShot(0, [&] {
            ++depth;
            QElapsedTimer clock;
            clock.start();
            accepted = runner.Run(compiler, "\"/x/a.bas\"");
            startMs = clock.elapsed();
            --depth;
        });
        QVERIFY(report.WaitForEnd());
        probe.stop();
        QVERIFY(accepted);
        QVERIFY2(startMs >= 0 && startMs < 300, qPrintable(QString::number(startMs)));
        QVERIFY2(depthsSeen.size() > 20, qPrintable(QString::number(depthsSeen.size())));
        QCOMPARE(depthsSeen.count(0), depthsSeen.size());
        QCOMPARE(report.lines, QStringList({"done"}));
    }

    // A compile that takes over two seconds shows "Compiling." and then
    // "Compiling.." with the stop hint while the event loop keeps running.
    void ProgressWhileTheEventLoopRuns()
    {
        const QString compiler = WriteCompiler(NewDir("slower"), "sleep 2.4\necho done\n");
        TCompilerRunner runner;
        TColorListBox list;
        ShowCompilesIn(runner, &list);
        TReport report(runner);
        QStringList seen;
        int ticks = 0;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, [&] {
            ++ticks;
            const QStringList lines = list.Lines();
            if (lines.size() == 2 && lines[1] == StopHintLine() && (seen.isEmpty() || seen.last() != lines.first()))
                seen.append(lines.first());
        });
        sampler.start(50);
        QVERIFY(runner.Run(compiler, "\"/x/a.bas\""));
        QVERIFY(runner.Running());
        QVERIFY(report.WaitForEnd());
        QCOMPARE(seen, QStringList({"Compiling.", "Compiling.."}));
        QVERIFY2(ticks > 20, qPrintable(QString::number(ticks)));
        QCOMPARE(list.Lines(), QStringList({"done"}));
    }

    // A compiler that does not end is stopped once the progress shows: the
    // output then holds what it printed so far and says it was stopped, and
    // the compiler is gone, also when it ignores the request to end.
    void StopEndsTheCompiler_data()
    {
        QTest::addColumn<QByteArray>("prelude");
        QTest::newRow("ends when asked") << QByteArray();
        QTest::newRow("ignores the request") << QByteArray("trap '' TERM\n");
    }
    void StopEndsTheCompiler()
    {
        QFETCH(QByteArray, prelude);
        const QString dir = NewDir("endless-" + QString::number(prelude.size()));
        const QString compiler =
            WriteCompiler(dir, prelude + "echo started\necho $$ > \"$(dirname \"$0\")/pid\"\nsleep 5\necho finished\n");
        TCompilerRunner runner;
        TReport report(runner);
        connect(&runner, &TCompilerRunner::Progress, &runner, &TCompilerRunner::Stop);
        runner.Stop(); // before a run: nothing to stop, and the run is not stopped by it
        QElapsedTimer clock;
        clock.start();
        QVERIFY(runner.Run(compiler, "\"/x/a.bas\""));
        QVERIFY(report.WaitForEnd());
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(report.events, QStringList({"started", "progress Compiling.", "output 2 lines", "finished stopped"}));
        QCOMPARE(report.lines, QStringList({"started", CompileStoppedLine()}));
        const pid_t pid = WrittenPid(dir);
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, 0), -1);
        QVERIFY(!runner.Running());
    }

    // A runner that goes while its compiler runs takes the compiler with it.
    void RunnerGoneEndsTheCompiler()
    {
        const QString dir = NewDir("orphan");
        const QString compiler = WriteCompiler(dir, "echo $$ > \"$(dirname \"$0\")/pid\"\nsleep 5\n");
        auto runner = std::make_unique<TCompilerRunner>();
        QVERIFY(runner->Run(compiler, "\"/x/a.bas\""));
        QVERIFY(QTest::qWaitFor([&] { return WrittenPid(dir) > 0; }, kEndTimeoutMs));
        runner.reset();
        QCOMPARE(::kill(WrittenPid(dir), 0), -1);
    }

    // While a compile runs a second one is refused; from the end of the first
    // the next one may start ("compile, then go on").
    void SecondRunWaitsForTheEnd()
    {
        const QString compiler = WriteCompiler(NewDir("busy"), "sleep 0.3\necho \"$1\"\n");
        TCompilerRunner runner;
        TReport report(runner);
        bool next = false;
        connect(&runner, &TCompilerRunner::Finished, [&] {
            if (report.lines == QStringList({"/x/a.bas"}))
                next = runner.Run(compiler, "\"/x/c.bas\"");
        });
        QVERIFY(!runner.Running());
        QVERIFY(runner.Run(compiler, "\"/x/a.bas\""));
        QVERIFY(runner.Running());
        QVERIFY(!runner.Run(compiler, "\"/x/b.bas\""));
        QVERIFY(!runner.Compile(compiler, "/x/b.bas"));
        QVERIFY(QTest::qWaitFor([&] { return report.lines == QStringList({"/x/c.bas"}); }, kEndTimeoutMs));
        QVERIFY(next);
        QCOMPARE(report.events,
                 QStringList({"started", "output 1 lines", "finished", "started", "output 1 lines", "finished"}));
        QVERIFY(!runner.Running());
    }

    // A compile that cannot start says why, and reports its end before the
    // call returns.
    void CompileThatCannotStart_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("line");
        QTest::newRow("missing compiler") << false << "Could not find compiler: %1";
        QTest::newRow("not executable") << true << "Could not run: %1 \"/x/a.bas\" (Permission denied).";
    }
    void CompileThatCannotStart()
    {
        QFETCH(bool, present);
        QFETCH(QString, line);
        const QString dir = NewDir(present ? "noexec" : "nothing");
        const QString compiler = present ? WriteCompiler(dir, "echo never\n", false) : CompilerPath(dir + "/");
        TCompilerRunner runner;
        TReport report(runner);
        QVERIFY(runner.Compile(compiler, "/x/a.bas"));
        QCOMPARE(report.events, QStringList({"started", "output 1 lines", "finished"}));
        QCOMPARE(report.lines, QStringList({line.arg(compiler)}));
        QVERIFY(!runner.Running());
        QCOMPARE(LeftInRuntime(), QStringList()); // no capture file stays behind
    }

    // No capture file can be made (no runtime folder, the temporary folder
    // missing): the output is lost and said so.
    void CaptureFileThatCannotBeOpened()
    {
        const QString dir = NewDir("nocapture");
        const QString compiler = WriteCompiler(dir, "echo lost\n");
        const QByteArray temp = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(dir + "/no such folder"));
        const QStringList lines = ListAfterRun(compiler, "\"/x/a.bas\"");
        temp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
        QCOMPARE(lines, QStringList({"Could not redirect stdout."}));
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList({"velc"}));
    }
};

QTEST_MAIN(TestCompilerRunner)
#include "test_compilerrunner.moc"
