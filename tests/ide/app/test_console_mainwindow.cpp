// The console in the main window. Its popup menu: Copy and Save text... are
// bound and act on the console, a folder that cannot be written reaches the
// error box, and Clear output on the console tab also forgets the history.
// It is made when first needed, not while the window is built: what makes
// it, where it lands among the output views, and that it shows and sends by
// the terminal settings read at start, made before or after them.
#include "../support/TestFiles.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "ColorListBox.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "ErrorReporter.h"
#include "Globals.h"
#include "MainForm.h"
#include "ScopeController.h"
#include "Terminal.h"
#include "WorkDirController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using TTrigger = std::function<void(TMainWindow &)>;

struct TConsoleState {
    bool echo, hex, crlfIn, crlfOut;
};

} // namespace

Q_DECLARE_METATYPE(TTrigger)

class TestConsoleMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;

    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;

    // Answers the next modal file dialog with a name.
    void AnswerFileDialog(const QString &name)
    {
        QTimer::singleShot(0, this, [name] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile(name);
            static_cast<QDialog *>(dialog)->accept();
        });
    }

    void WriteSettings(const QByteArray &text)
    {
        WriteTestFile(m_dir->filePath("Korvid.ini"), text);
    }

    static void VerifyState(TMcuConsole *console, const TConsoleState &state)
    {
        QCOMPARE(console->Echo, state.echo);
        QCOMPARE(console->HexMode(), state.hex);
        QCOMPARE(console->CRLFIn(), state.crlfIn);
        QCOMPARE(console->CRLFOut, state.crlfOut);
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(m_dir->path(), m_dir->filePath("Korvid.ini"), m_dir->filePath("layout.ini")));
        m_errors.clear();
        m_app->DialogHooks().errorReporter = [this](const QString &message) { m_errors << message; };
    }

    void cleanup()
    {
        m_app.reset();
        delete m_dir;
        m_dir = nullptr;
    }

    void theConsoleCommandsAreBound()
    {
        TMainWindow w(*m_app);
        for (const char *name : {"ConsoleCopyMenuClick", "ConsoleSaveTextMenuClick"}) {
            QVERIFY2(w.HasHandler(name), name);
            QVERIFY2(!w.Commands().Unbound().contains(name), name);
        }
    }

    void copyAndSaveTextFromThePopupMenu()
    {
        TMainWindow w(*m_app);
        w.DeviceControl().Console()->WriteText("hello\r\nworld");
        w.MenuItem("ConsoleCopyItem")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("hello\nworld\n"));
        AnswerFileDialog(m_dir->filePath("session"));
        w.MenuItem("ConsoleSaveTextItem")->trigger();
        QFile saved(m_dir->filePath("session.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("hello\r\nworld\r\n"));
        QCOMPARE(m_errors, QStringList());
    }

    void savingIntoAMissingFolderShowsTheErrorAndWritesNothing()
    {
        TMainWindow w(*m_app);
        w.DeviceControl().Console()->WriteText("text");
        const QString name = m_dir->filePath("missing/session.txt");
        AnswerFileDialog(name);
        w.MenuItem("ConsoleSaveTextItem")->trigger();
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors[0].startsWith("Cannot create file \"" + name + "\"."), qPrintable(m_errors[0]));
        QVERIFY(!QFile::exists(name));
    }

    void clearOutputOnTheConsoleTabForgetsTheHistory()
    {
        TMainWindow w(*m_app);
        for (int i = 0; i < 50; ++i)
            w.DeviceControl().Console()->WriteText("line\r\n");
        QVERIFY(w.DeviceControl().Console()->Screen().History().Size() > 0);
        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputConsoleTab);
        w.RunCommand("ClearBtnClick");
        QCOMPARE(w.DeviceControl().Console()->Screen().History().Size(), 0);
        QVERIFY(w.DeviceControl().Console()->Following());
    }

    // Built, shown, its settings applied and closed: the console is never
    // made, and a placeholder keeps the console's place between the Find list
    // and the scope.
    void notMadeUntilNeeded()
    {
        {
            TMainWindow w(*m_app);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(!w.DeviceControl().ConsoleMade());
            QCOMPARE(w.OutputViews()->count(), 4);
            QCOMPARE(w.OutputViews()->widget(TMainWindow::OutputConsoleTab)->objectName(), QString("ConsolePlace"));
            QCOMPARE(w.OutputViews()->widget(TMainWindow::OutputScopeTab)->objectName(), QString("ScopeView"));
            QVERIFY(w.close());
            QVERIFY(!w.DeviceControl().ConsoleMade());
        }
        QCOMPARE(m_errors, QStringList());
    }

    void madeByFirstUse_data()
    {
        QTest::addColumn<TTrigger>("trigger");
        QTest::addColumn<bool>("shown");
        QTest::newRow("its tab picked") << TTrigger([](TMainWindow &w) {
            w.OutputTabs()->setCurrentIndex(TMainWindow::OutputConsoleTab);
        }) << true;
        QTest::newRow("brought forward for the module") << TTrigger([](TMainWindow &w) { w.ShowConsoleTab(); }) << true;
        QTest::newRow("a macro echoed while another tab shows") << TTrigger([](TMainWindow &w) {
            w.DeviceControl().MacroBox()->setEditText("AT");
            w.RunCommand("SendMacroBtnClick");
        }) << false;
        QTest::newRow("Copy from its popup")
            << TTrigger([](TMainWindow &w) { w.RunCommand("ConsoleCopyMenuClick"); }) << false;
    }

    // Whatever makes it, the console takes its place among the views with the
    // size of the others, and has its popup menu.
    void madeByFirstUse()
    {
        QFETCH(TTrigger, trigger);
        QFETCH(bool, shown);
        WriteSettings("[Terminal]\nEcho=1\n");
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        trigger(w);

        QVERIFY(w.DeviceControl().ConsoleMade());
        TMcuConsole *console = w.DeviceControl().Console();
        QCOMPARE(w.OutputViews()->count(), 4);
        QCOMPARE(w.OutputViews()->indexOf(console), int(TMainWindow::OutputConsoleTab));
        QCOMPARE(w.DeviceControl().ConsoleView(), static_cast<QWidget *>(console));
        QCOMPARE(console->geometry(), w.BuildControl().BuildList()->geometry());
        QCOMPARE(console->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(w.OutputViews()->currentWidget() == console, shown);
        QCOMPARE(w.OutputTabs()->currentIndex() == TMainWindow::OutputConsoleTab, shown);
        QCOMPARE(m_errors, QStringList());
    }

    // With echo, the macro is on the console made for it; without, a macro
    // sent while the port is closed leaves the console unmade.
    void echoedTextReachesTheConsoleMadeForIt_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("made");
        QTest::newRow("echo") << QByteArray("[Terminal]\nEcho=1\n") << true;
        QTest::newRow("no echo") << QByteArray("[Terminal]\nEcho=0\n") << false;
    }

    void echoedTextReachesTheConsoleMadeForIt()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, made);
        WriteSettings(settings);
        TMainWindow w(*m_app);
        w.show();
        w.DeviceControl().MacroBox()->setEditText("hello");
        w.RunCommand("SendMacroBtnClick");
        QCOMPARE(w.DeviceControl().ConsoleMade(), made);
        if (made)
            QCOMPARE(w.DeviceControl().Console()->Screen().ScreenLines().value(0).trimmed(), QByteArray("hello"));
    }

    void settingsReachAConsoleMadeLater_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("crlfIn");
        QTest::addColumn<bool>("crlfOut");
        QTest::addColumn<QString>("echoPanel");
        QTest::addColumn<QString>("modePanel");
        QTest::newRow("none written") << QByteArray() << false << false << false << false << QString() << "ASCII";
        QTest::newRow("all on") << QByteArray("[Terminal]\nEcho=1\nEmulation=HEX\nCRLF(In)=1\nCRLF(Out)=1\n") << true
                                << true << true << true << "Echo"
                                << "HEX";
        QTest::newRow("echo and CR LF in")
            << QByteArray("[Terminal]\nEcho=1\nCRLF(In)=1\n") << true << false << true << false << "Echo"
            << "ASCII";
        QTest::newRow("hex, CR LF out") << QByteArray("[Terminal]\nEmulation=HEX\nCRLF(Out)=1\n") << false << true
                                        << false << true << QString() << "HEX";
    }

    // The terminal settings are applied at start while the console is not
    // made: the status bar shows them at once, and the console made later
    // shows and sends by them.
    void settingsReachAConsoleMadeLater()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, echo);
        QFETCH(bool, hex);
        QFETCH(bool, crlfIn);
        QFETCH(bool, crlfOut);
        QFETCH(QString, echoPanel);
        QFETCH(QString, modePanel);
        WriteSettings(settings);
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(!w.DeviceControl().ConsoleMade());
        QCOMPARE(w.StatusText(4), echoPanel);
        QCOMPARE(w.StatusText(5), modePanel);

        w.OutputTabs()->setCurrentIndex(TMainWindow::OutputConsoleTab);
        VerifyState(w.DeviceControl().Console(), {echo, hex, crlfIn, crlfOut});
    }

    // Made before any settings are applied (the window not shown yet), the
    // console echoes and sends CR LF, and the settings applied at the show
    // replace that.
    void madeBeforeTheSettings()
    {
        WriteSettings("[Terminal]\nEmulation=HEX\n");
        TMainWindow w(*m_app);
        TMcuConsole *console = w.DeviceControl().Console();
        VerifyState(console, {true, false, false, true});
        w.show();
        VerifyState(console, {false, true, false, false});
        QCOMPARE(w.StatusText(5), QString("HEX"));
    }
};

WORKBENCH_TEST_MAIN(TestConsoleMainWindow)
#include "test_console_mainwindow.moc"
