// Debugging in the workbench, offscreen, with the velc and velsim of this
// build: a breakpoint clicked into the editor's margin (and moved down by a
// line typed above it) is hit at its line after Start debugging compiled
// the program; a variable's value is shown and changed in the Variables
// view; stepping moves the marked line; the program's output reaches the
// console; a runtime error opens and marks its line; with a real device
// the debug commands are disabled and say why. Breakpoints with a
// condition or a hit count, set through their dialog, stop only where they
// hold; a condition the debugger refuses is shown; a watchpoint set in the
// Variables view stops where the variable changes; the module's hardware is
// a group of the Variables view; the views sit below the editors beside
// the output panel, and their arrangement is kept with the window's layout.

#include "../support/ChildProcesses.h"
#include "../support/TestFiles.h"
#include "../support/WindowConsole.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BreakpointDialog.h"
#include "BreakpointMargin.h"
#include "BuildController.h"
#include "CallStackView.h"
#include "CaptionPanel.h"
#include "ColorListBox.h"
#include "CompilerRunner.h"
#include "DebugController.h"
#include "DebugDocks.h"
#include "DebugSession.h"
#include "DeviceController.h"
#include "EditorTabs.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "Serial.h"
#include "SourceEditor.h"
#include "Terminal.h"
#include "VariablesView.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QSpinBox>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kLoop = "INTEGER count, total\n" // 1
                         "total = 0\n" // 2
                         "FOR count = 1 TO 3\n" // 3
                         "  total = total + count\n" // 4
                         "NEXT\n" // 5
                         "PRINT \"sum is \", total\n" // 6
                         "END\n"; // 7

const QByteArray kDivision = "INTEGER total, count\n" // 1
                             "total = 10\n" // 2
                             "' the average\n" // 3
                             "PRINT total / count\n"; // 4

QString BinDir()
{
    return qEnvironmentVariable("VELMO_BIN_DIR");
}

QString ValueShown(const TMainWindow &w, const QString &name)
{
    const QTreeWidgetItem *item = w.DebugControl().VariablesView()->Find(name);
    return item ? item->text(TVariablesView::kValue) : QStringLiteral("<none>");
}

QPoint MarginPoint(TSourceEditor *editor, int line);

// A click into the breakpoint margin beside a line (1-based).
void ClickMargin(TSourceEditor *editor, int line)
{
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, MarginPoint(editor, line));
}

// The point of the breakpoint margin beside a line (1-based).
QPoint MarginPoint(TSourceEditor *editor, int line)
{
    int x = 0;
    for (int margin = 0; margin < TBreakpointMargin::kMargin; ++margin)
        x += editor->marginWidth(margin);
    x += editor->marginWidth(TBreakpointMargin::kMargin) / 2;
    const long position = editor->positionFromLineIndex(line - 1, 0);
    const int y = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position)) +
        editor->textHeight(line - 1) / 2;
    return {x, y};
}

// Answers the breakpoint dialog the next command opens.
void AnswerBreakpointDialog(const QString &condition, int hitCount)
{
    QTimer::singleShot(0, [condition, hitCount] {
        auto *dialog = qobject_cast<TBreakpointDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return; // the test finds no breakpoint
        dialog->ConditionEdit()->setText(condition);
        dialog->HitCountBox()->setValue(hitCount);
        dialog->accept();
    });
}

// Where a widget stands in the window.
QRect InWindow(const QWidget *widget, const QWidget *window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

} // namespace

class TestDebugMainWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList messages;

    QString SettingsPath() const
    {
        return dir->filePath("prog/Korvid.ini");
    }
    // The workbench's folder with velc and velsim beside it.
    void PlacePrograms()
    {
        QVERIFY(QFile::link(BinDir() + "/velsim", dir->filePath("prog/velsim")));
        QVERIFY(QFile::copy(BinDir() + "/velc", CompilerPath(m_app->Paths().ProgramDir())));
    }
    QString Source(const QByteArray &text)
    {
        QDir().mkpath(dir->filePath("work"));
        return WriteTestFile(dir->filePath("work/prog.bas"), text);
    }
    // The window on the program, with the device of the settings.
    std::unique_ptr<TMainWindow> OpenWindow(const QByteArray &program, const QByteArray &port = "Simulated module")
    {
        const QString source = Source(program);
        WriteTestFile(SettingsPath(), "[COM-Device]\nPort=" + port + "\n");
        auto w = std::make_unique<TMainWindow>(*m_app);
        w->SetArguments({source});
        w->show();
        return w;
    }
    static bool StoppedAt(const TMainWindow &w, int line)
    {
        const TDebugSession &session = w.DebugControl().Session();
        return session.State() == TDebugSession::TState::Stopped && session.Line() == line;
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

    void aBreakpointFromTheMarginIsHitAndVariablesChange()
    {
        PlacePrograms();
        const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop);
        TMainWindow &w = *window;
        TSourceEditor *editor = AsSourceEditor(w.CurrentEditor());
        QVERIFY(editor);

        ClickMargin(editor, 4);
        QCOMPARE(editor->Breakpoints()->Lines(), QList<int>{4});
        editor->insertAt("' the sum of 1 to 3\n", 0, 0); // the breakpoint moves with its line
        QCOMPARE(editor->Breakpoints()->Lines(), QList<int>{5});

        QVERIFY(!w.DeviceControl().ConsoleMade()); // made when the serial line first brings text
        QVERIFY(!w.DebugControl().ViewsMade()); // made when the session starts
        w.RunCommand("StartDebugMenuClick"); // compiles the changed source first
        QTRY_VERIFY2_WITH_TIMEOUT(StoppedAt(w, 5), qPrintable(messages.join('\n')), 30000);
        QCOMPARE(editor->Breakpoints()->CurrentLine(), 5);
        QCOMPARE(ValueShown(w, "count"), QString("1"));
        QCOMPARE(ValueShown(w, "total"), QString("0"));
        QCOMPARE(w.DebugControl().CallStackView()->topLevelItemCount(), 1);
        QVERIFY(SerialPort().Open()); // the console is on the program's serial line

        // Changed through the view: the program goes on with the new value.
        w.DebugControl().VariablesView()->Find("total")->setText(TVariablesView::kValue, "100");
        QTRY_COMPARE(ValueShown(w, "total"), QString("100"));

        w.RunCommand("StepOverMenuClick");
        QTRY_VERIFY(StoppedAt(w, 6));
        QCOMPARE(editor->Breakpoints()->CurrentLine(), 6);
        QCOMPARE(ValueShown(w, "total"), QString("101"));

        editor->Breakpoints()->Toggle(5); // taken away while stopped
        editor->setCursorPosition(6, 0);
        w.RunCommand("RunToCursorMenuClick");
        QTRY_VERIFY(StoppedAt(w, 7));
        QCOMPARE(ValueShown(w, "total"), QString("106"));
        w.RunCommand("StepOverMenuClick"); // the PRINT: its line reaches the console with the stop
        QTRY_VERIFY(StoppedAt(w, 8));
        // The line comes over the serial line, the stop over the debugger's
        // channel: either may be read first.
        QTRY_VERIFY2(ConsoleText(w).contains("sum is") && ConsoleText(w).contains("106"), qPrintable(ConsoleText(w)));
        w.RunCommand("ContinueDebugMenuClick");
        QTRY_VERIFY_WITH_TIMEOUT(!w.DebugControl().Session().Active(), 10000);
        QCOMPARE(editor->Breakpoints()->CurrentLine(), 0);
        QVERIFY(!SerialPort().Open());
        QTRY_VERIFY(RunningChildren("velsim").isEmpty());
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    }

    void aRuntimeErrorOpensItsLine()
    {
        PlacePrograms();
        const std::unique_ptr<TMainWindow> window = OpenWindow(kDivision);
        TMainWindow &w = *window;
        TSourceEditor *editor = AsSourceEditor(w.CurrentEditor());
        editor->GotoLine(1);
        w.RunCommand("StartDebugMenuClick");
        QTRY_VERIFY_WITH_TIMEOUT(StoppedAt(w, 4), 30000);
        QTRY_COMPARE(editor->Breakpoints()->ErrorLine(), 4);
        QCOMPARE(editor->CaretLine(), 4);
        const QStringList build = w.BuildControl().BuildList()->Lines();
        QVERIFY2(!build.filter(QRegularExpression("prog\\.bas\\(4\\): .*Division by zero")).isEmpty(),
                 qPrintable(build.join('\n')));
        QCOMPARE(w.OutputTabs()->currentIndex(), int(TMainWindow::OutputBuildTab));
        const QListWidgetItem *current = w.BuildControl().BuildList()->currentItem();
        QVERIFY(current);
        QCOMPARE(current->text(), build.last()); // the error, not the compiler's output above it
        w.RunCommand("StopDebugMenuClick");
        QVERIFY(!w.DebugControl().Session().Active());
        QVERIFY(!SerialPort().Open());
    }

    // Which Debug items a state enables, as the menu shows them.
    void theDebugMenuFollowsTheSession()
    {
        PlacePrograms();
        const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop);
        TMainWindow &w = *window;
        const auto enabled = [&w](const char *item) {
            w.DebugControl().DebugMenuClick();
            return w.MenuItem(item)->isEnabled();
        };
        QVERIFY(enabled("StartDebugMenu"));
        QVERIFY(!enabled("StepOverMenu"));
        QVERIFY(!enabled("StopDebugMenu"));
        AsSourceEditor(w.CurrentEditor())->Breakpoints()->Toggle(4);
        w.RunCommand("StartDebugMenuClick");
        QTRY_VERIFY_WITH_TIMEOUT(StoppedAt(w, 4), 30000);
        QVERIFY(!enabled("StartDebugMenu"));
        QVERIFY(enabled("StepOverMenu"));
        QVERIFY(enabled("ContinueDebugMenu"));
        QVERIFY(!enabled("PauseDebugMenu"));
        w.RunCommand("StopDebugMenuClick");
        QVERIFY(enabled("StartDebugMenu"));
    }

    // Line 4 runs with count 1, 2 and 3; the breakpoint is set through its
    // dialog, opened from the Debug menu or by a right-click in the margin.
    void aConditionalBreakpointStopsOnlyWhereItHolds_data()
    {
        QTest::addColumn<bool>("rightClick");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("hitCount");
        QTest::addColumn<QString>("count"); // at the one stop
        QTest::addColumn<QString>("total");
        QTest::newRow("condition, from the menu") << false << "count = 2" << 0 << "2"
                                                  << "1";
        QTest::newRow("hit count, from the margin") << true << "" << 3 << "3"
                                                    << "3";
        QTest::newRow("both") << true << "count > 1" << 2 << "3"
                              << "3";
    }

    void aConditionalBreakpointStopsOnlyWhereItHolds()
    {
        QFETCH(bool, rightClick);
        QFETCH(QString, condition);
        QFETCH(int, hitCount);
        QFETCH(QString, count);
        QFETCH(QString, total);
        PlacePrograms();
        const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop);
        TMainWindow &w = *window;
        TSourceEditor *editor = AsSourceEditor(w.CurrentEditor());
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        AnswerBreakpointDialog(condition, hitCount);
        if (rightClick) {
            const QPoint point = MarginPoint(editor, 4);
            QContextMenuEvent click(QContextMenuEvent::Mouse, point, editor->viewport()->mapToGlobal(point));
            QApplication::sendEvent(editor->viewport(), &click);
        } else {
            editor->setCursorPosition(3, 0);
            w.RunCommand("EditBreakpointMenuClick");
        }
        QCOMPARE(editor->Breakpoints()->Breakpoints(), TSourceBreakpoints{TSourceBreakpoint(4, condition, hitCount)});
        QVERIFY(editor->markersAtLine(3) & (1u << TBreakpointMargin::kConditionalMarker));
        QVERIFY(!(editor->markersAtLine(3) & (1u << TBreakpointMargin::kBreakpointMarker)));

        w.RunCommand("StartDebugMenuClick");
        QTRY_VERIFY2_WITH_TIMEOUT(StoppedAt(w, 4), qPrintable(messages.join('\n')), 30000);
        QCOMPARE(ValueShown(w, "count"), count);
        QCOMPARE(ValueShown(w, "total"), total);
        w.RunCommand("ContinueDebugMenuClick"); // no further stop
        QTRY_VERIFY_WITH_TIMEOUT(!w.DebugControl().Session().Active(), 10000);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    }

    void aRefusedConditionIsShown()
    {
        PlacePrograms();
        const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop);
        TMainWindow &w = *window;
        TSourceEditor *editor = AsSourceEditor(w.CurrentEditor());
        editor->Breakpoints()->Set(TSourceBreakpoint(4, "count >"));
        editor->Breakpoints()->Toggle(6);
        w.RunCommand("StartDebugMenuClick");
        QTRY_VERIFY_WITH_TIMEOUT(StoppedAt(w, 6), 30000); // not at 4
        QVERIFY2(editor->Breakpoints()->Refusal(4).startsWith("condition"),
                 qPrintable(editor->Breakpoints()->Refusal(4)));
        // The marker's tip says it, beside the condition.
        QVERIFY(editor->Breakpoints()->ToolTip(4).contains("count >"));
        QVERIFY(editor->Breakpoints()->ToolTip(4).contains(editor->Breakpoints()->Refusal(4)));
        bool refusalShown = false; // the dialog says why
        QTimer::singleShot(0, [&refusalShown] {
            const QWidget *dialog = QApplication::activeModalWidget();
            refusalShown = dialog && dialog->findChild<QLabel *>("RefusalLabel");
        });
        AnswerBreakpointDialog("count > 1", 0);
        editor->setCursorPosition(3, 0);
        w.RunCommand("EditBreakpointMenuClick");
        QVERIFY(refusalShown);
        QCOMPARE(editor->Breakpoints()->At(4)->condition, QString("count > 1"));
        QCOMPARE(editor->Breakpoints()->Refusal(4), QString());
    }

    void aWatchpointStopsWhereTheVariableChanges()
    {
        PlacePrograms();
        const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop);
        TMainWindow &w = *window;
        TSourceEditor *editor = AsSourceEditor(w.CurrentEditor());
        editor->Breakpoints()->Toggle(2); // "total = 0" does not change it
        w.RunCommand("StartDebugMenuClick");
        QTRY_VERIFY_WITH_TIMEOUT(StoppedAt(w, 2), 30000);
        TVariablesView *view = w.DebugControl().VariablesView();
        QVERIFY(view->HardwareGroup());
        QVERIFY(view->HardwareGroup()->childCount() > 0);
        QCOMPARE(view->HardwareGroup()->child(0)->text(TVariablesView::kName), QString("PORT0"));

        QMenu menu;
        view->FillMenu(menu, view->Find("total"));
        QAction *watch = menu.findChild<QAction *>("WatchAction");
        QVERIFY(watch);
        watch->trigger();
        QCOMPARE(w.DebugControl().Session().Watchpoints(), QStringList{"total"});
        QVERIFY(view->Find("total")->font(TVariablesView::kName).bold());
        editor->Breakpoints()->Toggle(2);
        w.RunCommand("ContinueDebugMenuClick");
        QTRY_VERIFY(w.DebugControl().Session().State() == TDebugSession::TState::Stopped);
        const int line = w.DebugControl().Session().Line();
        QVERIFY2(line == 4 || line == 5, qPrintable(QString::number(line))); // just after the addition
        QCOMPARE(editor->Breakpoints()->CurrentLine(), line);
        QCOMPARE(ValueShown(w, "total"), QString("1"));
        QVERIFY2(w.StatusText(6).startsWith("total changed"), qPrintable(w.StatusText(6)));
        QVERIFY(view->Find("total")->font(TVariablesView::kName).bold());
        w.RunCommand("StopDebugMenuClick");
    }

    // On a fresh layout the views share the row of the output panel, right
    // of it, and leave the editors as they were; moved and resized, they
    // come back so in the next window.
    void theDebugViewsSitBesideTheOutputPanel()
    {
        PlacePrograms();
        int hostWidth = 0;
        {
            const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop);
            TMainWindow &w = *window;
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            const QRect editorsBefore = InWindow(w.EditorPanel(), &w);
            AsSourceEditor(w.CurrentEditor())->Breakpoints()->Toggle(4);
            w.RunCommand("StartDebugMenuClick");
            QTRY_VERIFY_WITH_TIMEOUT(StoppedAt(w, 4), 30000);
            TDebugDocks &docks = w.DebugControl().Docks();
            QTRY_VERIFY(docks.Host()->isVisible());
            QCOMPARE(InWindow(w.EditorPanel(), &w), editorsBefore);
            const QRect output = InWindow(w.OutputPanel(), &w);
            for (QWidget *part :
                 {static_cast<QWidget *>(docks.Host()), static_cast<QWidget *>(docks.VariablesDock())}) {
                const QRect place = InWindow(part, &w);
                QVERIFY2(place.top() >= editorsBefore.bottom(), part->objectName().toLatin1());
                QVERIFY2(place.left() > output.right(), part->objectName().toLatin1());
            }
            QVERIFY(!docks.VariablesDock()->isFloating());
            QVERIFY(!docks.CallStackDock()->isFloating());
            QCOMPARE(docks.Host()->tabifiedDockWidgets(docks.VariablesDock()),
                     QList<QDockWidget *>{docks.CallStackDock()});
            QVERIFY(docks.VariablesDock()->isVisible()); // in front of the Call Stack
            QVERIFY(docks.Host()->width() > w.OutputPanel()->width() / 2);

            // Side by side, and wider.
            docks.Host()->removeDockWidget(docks.CallStackDock());
            docks.Host()->addDockWidget(Qt::TopDockWidgetArea, docks.CallStackDock(), Qt::Horizontal);
            docks.CallStackDock()->show();
            QVERIFY(docks.Host()->tabifiedDockWidgets(docks.VariablesDock()).isEmpty());
            const int row = docks.Row()->width() - docks.Row()->handleWidth();
            docks.Row()->setSizes({row / 4, row - row / 4});
            QTRY_VERIFY(docks.CallStackDock()->isVisible() && docks.VariablesDock()->isVisible());
            hostWidth = docks.Host()->width();
            w.RunCommand("StopDebugMenuClick");
            w.close();
        }
        const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop);
        TMainWindow &w = *window;
        TDebugDocks &docks = w.DebugControl().Docks();
        QVERIFY(!docks.Host()->isVisible()); // until a session starts
        AsSourceEditor(w.CurrentEditor())->Breakpoints()->Toggle(4);
        w.RunCommand("StartDebugMenuClick");
        QTRY_VERIFY_WITH_TIMEOUT(StoppedAt(w, 4), 30000);
        QTRY_VERIFY(docks.Host()->isVisible());
        QCOMPARE(docks.Host()->width(), hostWidth);
        QVERIFY(docks.CallStackDock()->isVisible() && docks.VariablesDock()->isVisible());
        QVERIFY(docks.Host()->tabifiedDockWidgets(docks.VariablesDock()).isEmpty());
    }

    void aRealDeviceDisablesDebugging()
    {
        const std::unique_ptr<TMainWindow> window = OpenWindow(kLoop, "/dev/ttyUSB7");
        TMainWindow &w = *window;
        w.DebugControl().DebugMenuClick();
        for (const char *item : {"StartDebugMenu", "StepOverMenu", "RunToCursorMenu"}) {
            QVERIFY2(!w.MenuItem(item)->isEnabled(), item);
            QVERIFY2(w.MenuItem(item)->toolTip().contains("simulated module"), qPrintable(w.MenuItem(item)->toolTip()));
        }
        QVERIFY(w.MenuItem("ToggleBreakpointMenu")->isEnabled()); // breakpoints wait for the simulated module
        w.RunCommand("StartDebugMenuClick");
        QVERIFY(!w.DebugControl().Session().Active());
    }
};

WORKBENCH_TEST_MAIN(TestDebugMainWindow)
#include "test_debug_mainwindow.moc"
