#include "BuildList.h"
#include "ColorListBox.h"
#include "CompilerRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>

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
            int waits;
            const char *status;
        } table[] = {
            {0, ""}, {1, ""}, {9, ""}, {10, "Compiling."}, {11, ""}, {20, "Compiling.."}, {30, "Compiling..."}};
        for (const auto &row : table)
            QCOMPARE(CompilingStatus(row.waits), QString(row.status));
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
        TColorListBox list;
        list.AddLine("old line");
        QVERIFY(RunCompiler(compiler, '"' + source + '"', BuildListOutput(&list)));
        QCOMPARE(list.Lines(),
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
        TColorListBox list;
        RunCompiler(compiler, "\"/x/a.bas\"", BuildListOutput(&list));
        QCOMPARE(list.Lines(), QStringList({"new"}));
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
        TColorListBox list;
        RunCompiler(compiler, "\"/x/a.bas\"", BuildListOutput(&list));
        temp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
        const QStringList lines = list.Lines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString("600"));
        QVERIFY2(lines[1].startsWith(m_runtime + "/velc-") && lines[1].endsWith(".out (deleted)"),
                 qPrintable(lines[1]));
        QCOMPARE(lines[2], QString("new"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("the victim's notes\n"));
        QCOMPARE(LeftInRuntime(), QStringList({"velc.out"})); // only the planted link
    }

    // A compiler that prints without end fills no memory: the list shows the
    // start of its output and says it is cut.
    void EndlessOutputIsCut()
    {
        const QString compiler = WriteCompiler(NewDir("chatty"), "head -c 17000000 /dev/zero | tr '\\0' x\n");
        QStringList lines;
        TBuildOutput output;
        output.setLines = [&](const QStringList &shown) { lines = shown; };
        RunCompiler(compiler, "\"/x/a.bas\"", output);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].size(), qsizetype(kMaxCaptureBytes));
        QCOMPARE(lines[1], OutputCutLine());
    }

    // A compile that takes over two seconds shows "Compiling." and then
    // "Compiling.." while the event loop keeps running.
    void WaitShowsProgressAndStaysResponsive()
    {
        const QString compiler = WriteCompiler(NewDir("slow"), "sleep 2.4\necho done\n");
        TColorListBox list;
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
        RunCompiler(compiler, "\"/x/a.bas\"", BuildListOutput(&list));
        QCOMPARE(seen, QStringList({"Compiling.", "Compiling.."}));
        QVERIFY2(ticks > 20, qPrintable(QString::number(ticks)));
        QCOMPARE(list.Lines(), QStringList({"done"}));
    }

    // A compiler that does not end is stopped once the list shows how: the
    // list then holds what it printed so far and says it was stopped, and
    // the compiler (with what it started) is gone.
    void StopEndsTheCompiler()
    {
        const QString dir = NewDir("endless");
        const QString compiler =
            WriteCompiler(dir, "echo started\necho $$ > \"$(dirname \"$0\")/pid\"\nsleep 5\necho finished\n");
        QStringList lines;
        TBuildOutput output;
        output.addLine = [&](const QString &line) {
            if (line == StopHintLine())
                StopCompiler();
        };
        output.setLines = [&](const QStringList &shown) { lines = shown; };
        StopCompiler(); // before a run: nothing to stop, and the run is not stopped by it
        QVERIFY(RunCompiler(compiler, "\"/x/a.bas\"", output));
        QCOMPARE(lines, QStringList({"started", CompileStoppedLine()}));
        QFile pidFile(dir + "/pid");
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const pid_t pid = pidFile.readAll().trimmed().toInt();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, 0), -1);
        QVERIFY(!CompilerRunning());
    }

    void SecondRunWhileRunningIsRefused()
    {
        const QString compiler = WriteCompiler(NewDir("busy"), "sleep 0.5\necho first\n");
        TColorListBox list, other;
        bool nested = true;
        bool running = false;
        QTimer::singleShot(100, [&] {
            running = CompilerRunning();
            nested = RunCompiler(compiler, "\"/x/b.bas\"", BuildListOutput(&other));
        });
        QVERIFY(!CompilerRunning());
        QVERIFY(RunCompiler(compiler, "\"/x/a.bas\"", BuildListOutput(&list)));
        QVERIFY(!CompilerRunning());
        QVERIFY(running);
        QVERIFY(!nested);
        QVERIFY(other.Lines().isEmpty());
        QCOMPARE(list.Lines(), QStringList({"first"}));
    }

    void CompilerThatCannotRun()
    {
        const QString compiler = WriteCompiler(NewDir("noexec"), "echo never\n", false);
        TColorListBox list;
        RunCompiler(compiler, "\"/x/a.bas\"", BuildListOutput(&list));
        QCOMPARE(list.Lines(), QStringList({"Could not run: " + compiler + " \"/x/a.bas\" (Permission denied)."}));
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
        TColorListBox list;
        RunCompiler(compiler, "\"/x/a.bas\"", BuildListOutput(&list));
        temp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
        QCOMPARE(list.Lines(), QStringList({"Could not redirect stdout."}));
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList({"velc"}));
    }
};

QTEST_MAIN(TestCompilerRunner)
#include "test_compilerrunner.moc"
