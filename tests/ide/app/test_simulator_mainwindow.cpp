// The workbench with the simulated module, offscreen: the device a first
// start chooses and a stored device that wins over it; and the whole loop
// with velsim started from the program directory: connect, download a
// program compiled by velc (the reset by a macro, then the HEX records),
// the program's text in the console and its samples on the scope, and
// disconnect ending the simulator.

#include "../support/ChildProcesses.h"
#include "../support/TestFiles.h"
#include "../support/WindowConsole.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "ColorListBox.h"
#include "CompilerRunner.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "Globals.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "Preferences.h"
#include "Scope.h"
#include "ScopeController.h"
#include "Serial.h"
#include "SourceEditor.h"
#include "Terminal.h"
#include "TransferDlg.h"
#include "WorkDirController.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kProgram = "PRINT \"Hello from the module\"\n"
                            "DO\n"
                            "  PRINT \"#0\", 42, \"#1\", -7\n"
                            "  PAUSE 20\n"
                            "LOOP\n";

QString BinDir()
{
    return qEnvironmentVariable("VELMO_BIN_DIR");
}

// Whether velc and velsim of this build lie where the tests start them.
bool ProgramsBuilt()
{
    return QFile::exists(BinDir() + "/velsim") && QFile::exists(BinDir() + "/velc");
}

// The HEX records of an image, without their line ends, as the download
// sends them.
QList<QByteArray> HexRecords(const QString &path)
{
    QFile file(path);
    QList<QByteArray> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            records << line.trimmed();
    return records;
}

// F10 without a modal loop: the dialog's Download is clicked at once.
class TDownloadWindow : public TMainWindow {
public:
    using TMainWindow::TMainWindow;

    int ExecTransferDialog(TMcuTransferDlg &dialog) override
    {
        dialog.show();
        QTest::mouseClick(dialog.DownloadBtn, Qt::LeftButton);
        QDeadlineTimer deadline(20000);
        while (dialog.isVisible() && !deadline.hasExpired())
            QTest::qWait(10);
        return dialog.result();
    }
};

} // namespace

class TestSimulatorMainWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList messages;

    QString SettingsPath() const
    {
        return dir->filePath("prog/Korvid.ini");
    }
    // The workbench's folder with velsim beside it, as in the build tree.
    void PlaceSimulator()
    {
        QVERIFY(QFile::link(BinDir() + "/velsim", dir->filePath("prog/velsim")));
    }
    void PlaceCompiler()
    {
        QVERIFY(QFile::copy(BinDir() + "/velc", CompilerPath(m_app->Paths().ProgramDir())));
    }
    // A copy of an example program in the work folder.
    QString CopyExample(const QString &name)
    {
        QDir().mkpath(dir->filePath("work"));
        const QString copy = dir->filePath("work/" + name);
        QFile::copy(QDir::cleanPath(QStringLiteral(VELMO_TEST_DATA "/../../../../examples/") + name), copy);
        return copy;
    }
    // F9, until the compile has ended without errors.
    static bool Compiles(TMainWindow &w)
    {
        QSignalSpy finished(&w.Compiler(), &TCompilerRunner::Finished);
        w.RunCommand("CompileMenuClick");
        if (finished.isEmpty() && !finished.wait(30000))
            return false;
        const QStringList lines = w.BuildControl().BuildList()->Lines();
        if (!lines.contains("0 - Error(s)."))
            qWarning("%s", qPrintable(lines.join('\n')));
        return lines.contains("0 - Error(s).");
    }
    // Compiles the test program with velc; returns the image's path.
    QString CompileProgram()
    {
        const QString source = WriteTestFile(dir->filePath("work/loop.bas"), kProgram);
        QProcess velc;
        velc.start(BinDir() + "/velc", {source});
        if (!velc.waitForFinished(30000))
            return QString();
        return dir->filePath("work/loop.hex");
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        QDir().mkpath(dir->filePath("prog"));
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(dir->filePath("prog"), SettingsPath(), dir->filePath("config/Korvid.ini")));
        m_app->LinkSettings().OfferedDevices = [] { return QStringList(); };
        messages.clear();
        m_app->DialogHooks().messageDlg = [this](int, const QString &message, const QString &help, bool) {
            messages << message + " | " + help;
            return int(mrOk);
        };
    }

    void cleanup()
    {
        m_app.reset();
        while (SerialPort().Requests() > 0)
            SerialPort().ClosePort();
        delete dir;
    }

    void aFirstStartChoosesTheSimulatedModule_data()
    {
        QTest::addColumn<QByteArray>("settings"); // "-": no settings file
        QTest::addColumn<QString>("device");
        QTest::newRow("no_settings_file") << QByteArray("-") << "Simulated module";
        QTest::newRow("no_device_section") << QByteArray("[Terminal]\nEcho=1\n") << "Simulated module";
        QTest::newRow("no_port_key") << QByteArray("[COM-Device]\nBaudrate=19200\n") << "Simulated module";
        QTest::newRow("empty_port") << QByteArray("[COM-Device]\nPort=\n") << "Simulated module";
        QTest::newRow("stored_com1_wins") << QByteArray("[COM-Device]\nPort=COM1\n") << "COM1";
        QTest::newRow("stored_com3_wins") << QByteArray("[COM-Device]\nPort=com3\n") << "COM3";
        QTest::newRow("stored_path_wins") << QByteArray("[COM-Device]\nPort=/dev/ttyUSB0\n") << "/dev/ttyUSB0";
        QTest::newRow("unknown_name_is_no_first_start") << QByteArray("[COM-Device]\nPort=LPT1\n") << "COM1";
        QTest::newRow("stored_simulated_module")
            << QByteArray("[COM-Device]\nPort=simulated MODULE\n") << "Simulated module";
    }

    void aFirstStartChoosesTheSimulatedModule()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, device);
        if (settings != "-")
            WriteTestFile(SettingsPath(), settings);
        TMainWindow w(*m_app);
        w.show();
        QCOMPARE(SerialPort().ComPort(), device);
        QVERIFY(messages.isEmpty());
    }

    void theWholeLoopRunsOnTheSimulatedModule()
    {
        QVERIFY2(ProgramsBuilt(), "velc and velsim are not built");
        PlaceSimulator();
        const QList<QByteArray> records = HexRecords(CompileProgram());
        QVERIFY(records.size() > 1);
        WriteTestFile(SettingsPath(), "[COM-Device]\nPort=Simulated module\n[Macros]\nMacro0=#1#48#129#27\n");
        TMainWindow w(*m_app);
        w.show();

        w.RunCommand("ConnectMenuClick");
        QVERIFY2(SerialPort().Open(), qPrintable(messages.join('\n')));
        QVERIFY(w.StatusText(3).startsWith("Simulated module "));
        const QList<qint64> simulators = RunningChildren("velsim");
        QCOMPARE(simulators.size(), 1);

        // The download: the reset, then one record per write, each but the
        // end-of-file record answered by ".".
        w.RunCommand("SendMacroBtnClick");
        QTRY_VERIFY(ConsoleText(w).contains("OK"));
        for (qsizetype i = 0; i + 1 < records.size(); ++i) {
            QVERIFY(SerialPort().WriteString(records[i]));
            QTRY_COMPARE(ConsoleText(w).count('.'), int(i + 1));
        }
        QVERIFY(SerialPort().WriteString(records.last()));

        QTRY_VERIFY(ConsoleText(w).contains("Hello from the module"));
        const TScopeModel &scope = w.ScopeControl().Scope()->Model();
        QTRY_VERIFY(scope.Channel(0).SampleCount() > 0 && scope.Channel(1).SampleCount() > 0);
        QCOMPARE(scope.Channel(0).Sample(0).value, 42.0f);
        QCOMPARE(scope.Channel(1).Sample(0).value, -7.0f);

        w.RunCommand("DisconnectMenuClick");
        QVERIFY(!SerialPort().Open());
        QVERIFY(RunningChildren("velsim").isEmpty());
        QCOMPARE(ProcessInfo(simulators.first()).state, char(0));
        QVERIFY(messages.isEmpty());
    }

    // Download (F10) with no terminal connected: what the program prints as
    // soon as it starts reaches the console, which connects afterwards.
    void aDownloadShowsTheProgramsFirstWords()
    {
        QVERIFY2(ProgramsBuilt(), "velc and velsim are not built");
        PlaceSimulator();
        const QString hex = CompileProgram();
        WriteTestFile(SettingsPath(),
                      "[COM-Device]\nPort=Simulated module\n[Transfer]\nLastFile=" + hex.toLocal8Bit() + "\n");
        TDownloadWindow w(*m_app);
        w.show();
        w.RunCommand("DownloadMenuClick");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        QVERIFY(SerialPort().Open());
        QCOMPARE(SerialPort().Requests(), 1);
        // The first line the program printed, kept in the console's history
        // once the loop's lines have scrolled it off the screen.
        const auto firstLine = [&w] {
            const TConsoleScreen &screen = w.DeviceControl().Console()->Screen();
            return screen.FirstLine() < screen.EndLine() ? screen.Line(screen.FirstLine()).trimmed() : QByteArray();
        };
        QTRY_COMPARE(firstLine(), QByteArray("Hello from the module"));
        w.RunCommand("DisconnectMenuClick");
    }

    // A first start, the first program compiled with F9 and downloaded with
    // F10: every line the program printed is on the console's screen, though
    // the Console tab had never been shown before the download.
    void theFirstDownloadShowsEveryLine()
    {
        QVERIFY2(ProgramsBuilt(), "velc and velsim are not built");
        PlaceSimulator();
        PlaceCompiler();
        const QString hello = CopyExample("hello.bas");
        TDownloadWindow w(*m_app);
        w.SetArguments({hello});
        w.show();
        w.OutputSplitter()->setSizes({200, 300}); // the output panel a little taller than at first
        QCOMPARE(SerialPort().ComPort(), QString("Simulated module"));
        // Room for the ten lines and the cursor's line below them.
        QVERIFY(w.OutputViews()->height() / w.DeviceControl().Console()->LineHeight() > 11);
        QVERIFY(Compiles(w));
        w.RunCommand("DownloadMenuClick");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        QTRY_VERIFY(ConsoleText(w).contains("Hello from Velmo! 10"));
        QStringList expected;
        for (int i = 1; i <= 10; ++i)
            expected << QString("Hello from Velmo! %1").arg(i);
        QCOMPARE(ConsoleText(w).split('|'), expected);
        QCOMPARE(w.OutputTabs()->currentIndex(), int(TMainWindow::OutputConsoleTab));
        w.RunCommand("DisconnectMenuClick");
    }

    // When a download or Connect brings the console forward, the keys the
    // user types next go to the module, not into the source.
    void theConsoleTakesTheKeyboard_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer"); // what the module says to "Ann"; empty: nothing awaited
        QTest::newRow("download") << "DownloadMenuClick"
                                  << "A number?";
        QTest::newRow("connect") << "ConnectMenuClick" << QString();
    }

    void theConsoleTakesTheKeyboard()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QVERIFY2(ProgramsBuilt(), "velc and velsim are not built");
        PlaceSimulator();
        PlaceCompiler();
        const QString talk = CopyExample("talk.bas");
        WriteTestFile(SettingsPath(), "[COM-Device]\nPort=Simulated module\n[Terminal]\nEcho=1\n");
        TDownloadWindow w(*m_app);
        w.SetArguments({talk});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(Compiles(w));
        TSourceEditor *editor = AsSourceEditor(w.CurrentEditor());
        editor->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(editor));
        w.RunCommand(command);
        QVERIFY2(SerialPort().Open(), qPrintable(messages.join('\n')));
        if (!answer.isEmpty())
            QTRY_VERIFY(ConsoleText(w).endsWith("Your name?"));
        // The window's focus, which the keyboard reaches once the window is
        // active again (the download dialog had it meanwhile).
        QTRY_COMPARE(w.focusWidget(), static_cast<QWidget *>(w.DeviceControl().Console()));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.DeviceControl().Console()));
        QTest::keyClicks(QApplication::focusWidget(), "Ann");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!editor->IsModified());
        QVERIFY(ConsoleText(w).contains("Ann"));
        if (!answer.isEmpty())
            QTRY_VERIFY(ConsoleText(w).endsWith(answer));
        w.RunCommand("DisconnectMenuClick");
    }

    // A runtime error the simulated module reports opens the source line the
    // line map names (here in an include file), and a double-click on the
    // error line in the console opens it again.
    void aRuntimeErrorOpensItsSourceLine()
    {
        QVERIFY2(ProgramsBuilt(), "velc and velsim are not built");
        PlaceSimulator();
        PlaceCompiler();
        QDir().mkpath(dir->filePath("work/lib"));
        const QString part = WriteTestFile(dir->filePath("work/lib/part.bas"),
                                           "' part\nfill:\n  FOR i = 0 TO 3\n    Vals[i] = i\n  NEXT\nRETURN\n");
        const QString main =
            WriteTestFile(dir->filePath("work/fill.bas"), "BYTE Vals[3], i\n#INCLUDE \"lib/part.bas\"\nGOSUB fill\n");
        WriteTestFile(SettingsPath(), "[COM-Device]\nPort=Simulated module\n");
        TDownloadWindow w(*m_app);
        w.SetArguments({main});
        w.show();
        QVERIFY(!w.DeviceControl().ConsoleMade()); // made when the module's first text arrives
        w.RunCommand("DownloadMenuClick"); // compiles the program first: it has no image yet
        QTRY_VERIFY(ConsoleText(w).contains("Index out of range"));
        QTRY_COMPARE(QFileInfo(w.CurrentEditor()->GetFileName()), QFileInfo(part));
        QCOMPARE(AsSourceEditor(w.CurrentEditor())->CaretLine(), 4);

        w.OpenFileAtLine(main, 1);
        QCOMPARE(QFileInfo(w.CurrentEditor()->GetFileName()), QFileInfo(main));
        TMcuConsole *console = w.DeviceControl().Console();
        const int row = ConsoleText(w).split('|').indexOf(QRegularExpression("Error: .*"));
        QVERIFY(row >= 0);
        const QPoint onTheLine(console->width() / 2,
                               console->contentsRect().top() + 1 + row * console->LineHeight() +
                                   console->LineHeight() / 2);
        QTest::mouseDClick(console, Qt::LeftButton, {}, onTheLine);
        QCOMPARE(QFileInfo(w.CurrentEditor()->GetFileName()), QFileInfo(part));
        QCOMPARE(AsSourceEditor(w.CurrentEditor())->CaretLine(), 4);
        w.RunCommand("DisconnectMenuClick");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    }

    void connectingWithoutTheSimulatorSaysWhy()
    {
        WriteTestFile(SettingsPath(), "[COM-Device]\nPort=Simulated module\n");
        TMainWindow w(*m_app);
        w.show();
        w.RunCommand("ConnectMenuClick");
        QVERIFY(!SerialPort().Open());
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains("velsim is missing"), qPrintable(messages.first()));
        QVERIFY(w.MenuItem("ConnectMenu")->isEnabled());
    }
};

WORKBENCH_TEST_MAIN(TestSimulatorMainWindow)
#include "test_simulator_mainwindow.moc"
