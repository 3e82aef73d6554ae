#include "../support/TestFiles.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "CaptionPanel.h"
#include "ColorListBox.h"
#include "CompilerRunner.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "Globals.h"
#include "IEditor.h"
#include "MainForm.h"
#include "ScopeController.h"
#include "SourceEditor.h"
#include "WorkDirController.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// F9 in the workbench: save all, compile the active file with this build's
// velc placed beside the program, and jump from a message to its line.
class TestCompileWorkbench : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;
    QString m_compiler;

    QString Path(const QString &name) const
    {
        return m_dir->filePath(name);
    }

    QString WriteSource(const QString &name, const QByteArray &text)
    {
        return WriteTestFile(Path(name), text);
    }

    QStringList DirectOutput(const QString &source)
    {
        QProcess velc;
        velc.start(m_compiler, {source});
        velc.waitForFinished(30000);
        QString text = QString::fromUtf8(velc.readAllStandardOutput());
        if (text.endsWith('\n'))
            text.chop(1);
        return text.split('\n');
    }

    static void CopyTree(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        for (const QFileInfo &entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = to + "/" + entry.fileName();
            if (entry.isDir())
                CopyTree(entry.filePath(), target);
            else
                QFile::copy(entry.filePath(), target);
        }
    }

    static TSourceEditor *Current(TMainWindow &w)
    {
        return AsSourceEditor(w.CurrentEditor());
    }

    // Runs the command and lets the event loop go on until the compile it
    // started has ended; false when none ended.
    static bool CompileEnds(TMainWindow &w, const std::function<void()> &command)
    {
        QSignalSpy finished(&w.Compiler(), &TCompilerRunner::Finished);
        command();
        return !finished.isEmpty() || finished.wait(30000);
    }

    static bool CompileEnds(TMainWindow &w)
    {
        return CompileEnds(w, [&w] { w.CompileMenuClick(); });
    }

    // Puts a script in the compiler's place.
    bool ReplaceCompiler(const QByteArray &script) const
    {
        QFile::remove(m_compiler);
        QFile file(m_compiler);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("#!/bin/sh\n" + script);
        file.close();
        return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }

    // A shown window with a source open, the compiler replaced by the
    // script; none when the script cannot be placed.
    std::unique_ptr<TMainWindow> WindowCompilingWith(const QByteArray &script)
    {
        if (!ReplaceCompiler(script))
            return nullptr;
        auto w = std::make_unique<TMainWindow>(*m_app);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return nullptr;
        w->OpenFile(WriteSource("src/prog.bas", "\n"));
        return w;
    }

    static int RowContaining(TColorListBox *list, const QString &text)
    {
        const QStringList lines = list->Lines();
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(text))
                return i;
        return -1;
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QDir().mkpath(Path("prog"));
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(Path("prog"), Path("prog/Korvid.ini"), Path("config/Korvid.ini")));
        m_compiler = CompilerPath(m_app->Paths().ProgramDir());
        QVERIFY(QFile::copy(qEnvironmentVariable("VELMO_BIN_DIR") + "/velc", m_compiler));
        m_errors.clear();
        m_app->DialogHooks().errorReporter = [this](const QString &m) { m_errors << m; };
    }

    void cleanup()
    {
        m_app.reset();
        delete m_dir;
        m_dir = nullptr;
    }

    // Every example program, in a copy of the examples folder, shows in the
    // Build list exactly as the compiler prints it.
    void ExamplesShowTheCompilerOutput()
    {
        CopyTree(QDir::cleanPath(QStringLiteral(VELMO_TEST_DATA "/../../../../examples")), Path("examples"));
        QDirIterator it(Path("examples"), {"*.bas"}, QDir::Files, QDirIterator::Subdirectories);
        TMainWindow w(*m_app);
        int compiled = 0;
        while (it.hasNext()) {
            const QString source = it.next();
            w.OpenFile(source);
            QVERIFY(CompileEnds(w));
            QCOMPARE(w.BuildControl().BuildList()->Lines(), DirectOutput(source));
            ++compiled;
        }
        if (compiled == 0)
            QSKIP("no example programs");
    }

    void NoEditorNoCompile()
    {
        TMainWindow w(*m_app);
        w.BuildControl().BuildList()->AddLine("old");
        w.CompileMenuClick();
        QCOMPARE(w.BuildControl().BuildList()->Lines(), QStringList({"old"}));
    }

    // Compile, break a line, compile again, double-click the red line.
    void CompileBreakAndJump()
    {
        const QString source = WriteSource("src/prog.bas", "\n\n\n\n");
        const QString other = WriteSource("src/other.txt", "a\nb\n");
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenFile(source);
        w.ShowOutputPanel(false);
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputFindTab);
        QVERIFY(CompileEnds(w, [&w] { QVERIFY(w.RunCommand("CompileMenuClick")); }));
        QCOMPARE(w.BuildControl().BuildList()->Lines(), DirectOutput(source));
        QVERIFY(w.BuildControl().BuildList()->Lines().contains("0 - Error(s)."));
        QCOMPARE(w.OutputTabs()->currentIndex(), int(TMainWindow::OutputBuildTab));
        QVERIFY(w.OutputPanel()->isVisible());
        QVERIFY(w.ToolButton("CompileBtn")->isEnabled());

        Current(w)->setText("\n\n10 )(\n\n");
        QVERIFY(Current(w)->IsModified());
        QVERIFY(CompileEnds(w, [&w] { QVERIFY(w.RunCommand("CompileMenuClick")); }));
        QVERIFY(!Current(w)->IsModified()); // saved before compiling
        QCOMPARE(w.BuildControl().BuildList()->Lines(), DirectOutput(source)); // only the new output
        const int row = RowContaining(w.BuildControl().BuildList(), source + "(3):");
        QVERIFY(row >= 0);

        w.OpenFile(other);
        QCOMPARE(w.CurrentEditor()->GetFileName(), other);
        w.BuildControl().BuildList()->setCurrentRow(row);
        w.BuildControl().BuildList()->DblClick();
        QCOMPARE(w.CurrentEditor()->GetFileName(), source);
        QCOMPARE(Current(w)->CaretLine(), 3);
        QVERIFY(m_errors.isEmpty());
    }

    // A new user's first session with the example: F9, break a line, F9,
    // double-click the red line with the mouse and land on it.
    void HelloExampleWalkThrough()
    {
        const QString examples = QDir::cleanPath(QStringLiteral(VELMO_TEST_DATA "/../../../../examples"));
        const QString source = Path("examples/hello.bas");
        QDir().mkpath(Path("examples"));
        QVERIFY(QFile::copy(examples + "/hello.bas", source));
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.OpenFile(source);
        TSourceEditor *editor = Current(w);
        QVERIFY(editor);

        QVERIFY(CompileEnds(w, [&w] { QTest::keyClick(&w, Qt::Key_F9); }));
        QCOMPARE(w.BuildControl().BuildList()->Lines(), DirectOutput(source));
        QVERIFY(w.BuildControl().BuildList()->Lines().contains("0 - Error(s)."));
        QCOMPARE(RowContaining(w.BuildControl().BuildList(), "):"), -1);

        // Break the FOR line: the caret to its end, two backspaces take "10".
        const int forLine = editor->text().split('\n').indexOf(QRegularExpression("^FOR .* TO 10\\s*$"));
        QVERIFY(forLine >= 0);
        editor->setCursorPosition(forLine, editor->text(forLine).trimmed().size());
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QVERIFY(editor->text(forLine).trimmed().endsWith("TO"));
        QVERIFY(CompileEnds(w, [&w] { QTest::keyClick(&w, Qt::Key_F9); }));
        QVERIFY(!editor->IsModified());
        QCOMPARE(w.BuildControl().BuildList()->Lines(), DirectOutput(source));
        QVERIFY(!w.BuildControl().BuildList()->Lines().contains("0 - Error(s)."));
        const QString message = QString("%1(%2):").arg(source).arg(forLine + 1);
        const int row = RowContaining(w.BuildControl().BuildList(), message);
        QVERIFY2(row >= 0, qPrintable(w.BuildControl().BuildList()->Lines().join('\n')));

        // The line is drawn in red.
        w.BuildControl().BuildList()->scrollToItem(w.BuildControl().BuildList()->item(row));
        const QRect rect = w.BuildControl().BuildList()->visualItemRect(w.BuildControl().BuildList()->item(row));
        const QImage image = w.BuildControl().BuildList()->viewport()->grab().toImage();
        bool red = false;
        for (int x = rect.left(); x < rect.right() && x < image.width() && !red; ++x)
            for (int y = rect.top(); y <= rect.bottom() && !red; ++y)
                red = QColor(image.pixel(x, y)) == QColor(255, 0, 0);
        QVERIFY(red);

        editor->setCursorPosition(0, 0);
        QTest::mouseClick(w.BuildControl().BuildList()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(w.BuildControl().BuildList()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(w.CurrentEditor()->GetFileName(), source);
        QCOMPARE(Current(w)->CaretLine(), forLine + 1);
        QCOMPARE(Current(w)->CaretColumn(), 1);
        QVERIFY(!Current(w)->hasSelectedText());
        QVERIFY(m_errors.isEmpty());
    }

    void MissingCompiler()
    {
        QFile::remove(m_compiler);
        const QString source = WriteSource("src/prog.bas", "\n");
        TMainWindow w(*m_app);
        w.OpenFile(source);
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputFindTab);
        w.BuildControl().BuildList()->AddLine("old");
        QVERIFY(CompileEnds(w));
        QCOMPARE(w.BuildControl().BuildList()->Lines(), QStringList({"Could not find compiler: " + m_compiler}));
        QCOMPARE(w.OutputTabs()->currentIndex(), int(TMainWindow::OutputBuildTab));
    }

    // A file the user declines to save: nothing is compiled and the Build
    // list keeps what it had.
    void DeclinedSaveKeepsTheList()
    {
        m_app->DialogHooks().askSaveName = [](QWidget *, const QString &) { return QString(); };
        TMainWindow w(*m_app);
        w.RunCommand("NewBasicFileClick");
        QVERIFY(w.CurrentEditor());
        w.BuildControl().BuildList()->AddLine("old");
        w.CompileMenuClick();
        QCOMPARE(w.BuildControl().BuildList()->Lines(), QStringList({"old"}));
    }

    // F9 saves what the active file's compile reads: the active file (asking
    // for a name only when it is the one without) and the named files it may
    // include; an untitled scratch file beside it neither asks nor blocks.
    void CompileSavesWhatTheActiveFileNeeds_data()
    {
        QTest::addColumn<bool>("scratchActive");
        QTest::addColumn<int>("asked"); // save dialogs shown
        QTest::addColumn<bool>("compiled");
        QTest::newRow("named_source_beside_a_scratch_file") << false << 0 << true;
        QTest::newRow("the_scratch_file_itself") << true << 1 << false;
    }

    void CompileSavesWhatTheActiveFileNeeds()
    {
        QFETCH(bool, scratchActive);
        QFETCH(int, asked);
        QFETCH(bool, compiled);
        int dialogs = 0;
        m_app->DialogHooks().askSaveName = [&dialogs](QWidget *, const QString &) {
            ++dialogs;
            return QString();
        };
        const QString lib = WriteSource("src/lib.bas", "\n");
        const QString source = WriteSource("src/prog.bas", "#INCLUDE \"lib\"\n");
        TMainWindow w(*m_app);
        w.OpenFile(lib);
        Current(w)->setText("BYTE k\n");
        w.OpenFile(source);
        w.RunCommand("NewBasicFileClick");
        Current(w)->setText("scratch\n");
        if (!scratchActive)
            w.OpenFile(source); // back to the program's tab
        w.BuildControl().BuildList()->AddLine("old");
        if (compiled)
            QVERIFY(CompileEnds(w));
        else
            w.CompileMenuClick();
        QCOMPARE(dialogs, asked);
        QCOMPARE(w.BuildControl().BuildList()->Lines().contains("0 - Error(s)."), compiled);
        QFile saved(lib);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("BYTE k\n")); // a file the program may include
    }

    // A compile that does not end: while it runs the Build list says how to
    // stop it and the Compile button's hint says it stops; F9 does nothing;
    // Escape in the Build list, or the Compile button, stops it.
    void StopARunningCompile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape in the Build list") << "escape";
        QTest::newRow("Compile button") << "button";
    }

    void StopARunningCompile()
    {
        QFETCH(QString, how);
        const std::unique_ptr<TMainWindow> window = WindowCompilingWith("echo started\nsleep 5\necho finished\n");
        QVERIFY(window);
        TMainWindow &w = *window;
        QAction *button = w.ToolButton("CompileBtn");
        const QString hint = button->toolTip();
        QStringList whileRunning;
        QTimer act;
        connect(&act, &QTimer::timeout, [&] {
            if (!w.BuildControl().BuildList()->Lines().contains(StopHintLine()))
                return;
            act.stop();
            whileRunning << button->toolTip() << QString::number(button->isEnabled());
            QTest::keyClick(&w, Qt::Key_F9); // refused while running
            whileRunning << QString::number(w.Compiler().Running());
            if (how == "escape")
                QTest::keyClick(w.BuildControl().BuildList(), Qt::Key_Escape);
            else
                button->trigger();
        });
        act.start(10);
        QVERIFY(CompileEnds(w, [&w] { QVERIFY(w.RunCommand("CompileMenuClick")); }));
        QCOMPARE(whileRunning, QStringList({"Stop compiling (Esc)", "1", "1"}));
        QCOMPARE(w.BuildControl().BuildList()->Lines(), QStringList({"started", CompileStoppedLine()}));
        QCOMPARE(button->toolTip(), hint);
        QVERIFY(!w.Compiler().Running());
    }

    // F9 returns while the compiler runs: the Build list is emptied at once,
    // the Compile button stays enabled (it stops the compile meanwhile), and
    // the output takes the progress' place when the compiler ends.
    void F9ReturnsWhileTheCompilerRuns()
    {
        const std::unique_ptr<TMainWindow> window = WindowCompilingWith("sleep 1.2\necho done\n");
        QVERIFY(window);
        TMainWindow &w = *window;
        QAction *button = w.ToolButton("CompileBtn");
        const QString hint = button->toolTip();
        w.BuildControl().BuildList()->AddLine("old");
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(&w, Qt::Key_F9);
        QVERIFY2(clock.elapsed() < 600, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(w.Compiler().Running());
        QCOMPARE(w.BuildControl().BuildList()->Lines(), QStringList());
        QVERIFY(button->isEnabled());
        QCOMPARE(button->toolTip(), QString("Stop compiling (Esc)"));
        QTRY_COMPARE_WITH_TIMEOUT(w.BuildControl().BuildList()->Lines(), QStringList({"done"}), 20000);
        QCOMPARE(button->toolTip(), hint);
        QVERIFY(!w.Compiler().Running());
    }

    void FolderWithParenthesisShowsTheConversionError()
    {
        const QString source = WriteSource("old (2)/prog.bas", "10 )(\n");
        TMainWindow w(*m_app);
        w.OpenFile(source);
        QVERIFY(CompileEnds(w));
        const int row = RowContaining(w.BuildControl().BuildList(), "):");
        QVERIFY(row >= 0);
        w.OpenFile(WriteSource("src/other.txt", "a\n"));
        w.BuildControl().BuildList()->setCurrentRow(row);
        w.BuildControl().BuildList()->DblClick();
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors.first().contains("is not a valid integer value"));
        QVERIFY(w.CurrentEditor()->GetFileName().endsWith("other.txt"));
    }
};

WORKBENCH_TEST_MAIN(TestCompileWorkbench)
#include "test_compile_workbench.moc"
