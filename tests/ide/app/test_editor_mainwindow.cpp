// The editor inside the main window: document commands through the command
// table, enabled states, the status bar, opening at a line, the close
// request and the find histories in the settings file.
#include "AppState.h"
#include "Application.h"
#include "BuildController.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorTabs.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "Globals.h"
#include "IniFile.h"
#include "MainForm.h"
#include "ScopeController.h"
#include "SearchReplace.h"
#include "WorkDirController.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>

class TestEditorMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;
    std::deque<int> m_answers;

    QString Path(const QString &name) const
    {
        return m_dir->filePath(name);
    }
    void Write(const QString &name, const QByteArray &bytes)
    {
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static TSourceEditor *Current(TMainWindow &w)
    {
        return AsSourceEditor(w.CurrentEditor());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(Path("prog"));
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(Path("prog"), Path("prog/Korvid.ini"), Path("config/Korvid.ini")));
        m_errors.clear();
        m_app->DialogHooks().errorReporter = [this](const QString &m) { m_errors << m; };
        m_answers.clear();
        m_app->DialogHooks().confirm = [this](const QString &, const QString &) {
            if (m_answers.empty())
                return 2;
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        };
        m_app->DialogHooks().askSaveName = [](QWidget *, const QString &) { return QString(); };
    }

    void cleanup()
    {
        m_app.reset();
        m_dir.reset();
    }

    void newFileThroughTheCommandTable()
    {
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(!w.CurrentEditState());
        QVERIFY(w.RunCommand("NewBasicFileClick"));
        QCOMPARE(w.EditorTabSet()->count(), 1);
        QCOMPARE(w.EditorTabSet()->tabText(0), QString("NewFile1.bas"));
        QVERIFY(w.CurrentEditState().has_value());
        QVERIFY(w.CurrentEditState()->canSave);
        QVERIFY(w.ToolButton("SaveBtn")->isEnabled());
        QVERIFY(w.ToolButton("FindBtn")->isEnabled());
        Current(w)->insert("print 1");
        QCOMPARE(w.EditorTabSet()->tabText(0), QString("NewFile1.bas*"));
        QCOMPARE(w.StatusText(1), QString("Modified"));
        QVERIFY(w.RunCommand("SelectAllMenuClick"));
        QVERIFY(w.CurrentEditState()->canCut);
        QVERIFY(w.RunCommand("DeleteMenuClick"));
        QCOMPARE(Current(w)->text(), QString());
        QVERIFY(w.RunCommand("UndoMenuClick"));
        QCOMPARE(Current(w)->text(), QString("print 1"));
    }

    void openFileAtLineShowsTheLine()
    {
        QByteArray text;
        for (int i = 1; i <= 100; ++i)
            text += "x = " + QByteArray::number(i) + "\r\n";
        Write("prog.bas", text);
        TMainWindow w(*m_app);
        w.show();
        w.OpenFileAtLine(Path("prog.bas"), 42);
        QCOMPARE(Current(w)->CaretLine(), 42);
        QCOMPARE(Current(w)->CaretColumn(), 1);
        w.OpenFileAtLine(Path("PROG.bas"), 7);
        QCOMPARE(w.EditorTabSet()->count(), 1);
        QCOMPARE(Current(w)->CaretLine(), 7);
        QVERIFY(m_errors.isEmpty());
    }

    // The caret panel follows every caret move, also those of the search
    // commands, whose selection changes do not come from a key or a click.
    void caretPanelFollowsTheSearchCommands()
    {
        Write("prog.bas", "a = 1\r\nb = 2\r\nc = 3\r\n  needle = 4\r\nneedle\r\n");
        TMainWindow w(*m_app);
        w.show();
        w.OpenFile(Path("prog.bas"));
        QTRY_COMPARE(w.StatusText(0), QString("1: 1"));
        m_app->SearchDialog().SetSearchText("needle");
        QVERIFY(w.RunCommand("FindNextMenuClick"));
        QCOMPARE(Current(w)->CaretLine(), 4);
        QTRY_COMPARE(w.StatusText(0), QString("4: 9"));
        QVERIFY(w.RunCommand("FindNextMenuClick"));
        QTRY_COMPARE(w.StatusText(0), QString("5: 7"));
        QVERIFY(w.RunCommand("FindPrevMenuClick"));
        QTRY_COMPARE(w.StatusText(0), QString("4: 3"));
        w.OpenFileAtLine(Path("prog.bas"), 2);
        QTRY_COMPARE(w.StatusText(0), QString("2: 1"));
    }

    void unreadableFileReachesTheErrorHandler()
    {
        QDir().mkpath(Path("folder.bas"));
        TMainWindow w(*m_app);
        RunGuarded([&] { w.OpenFile(Path("folder.bas")); });
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors.first().contains("folder.bas"));
        QCOMPARE(w.EditorTabSet()->count(), 0);
    }

    void closeRequestStopsAtCancel()
    {
        Write("a.bas", "a");
        Write("b.bas", "b");
        Write("c.bas", "c");
        TMainWindow w(*m_app);
        w.show();
        for (const char *name : {"a.bas", "b.bas", "c.bas"}) {
            w.OpenFile(Path(name));
            Current(w)->insert("1");
        }
        m_answers = {6, 2};
        QVERIFY(!w.close());
        QCOMPARE(w.EditorTabSet()->count(), 2);
        QFile saved(Path("a.bas"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("1a"));
        m_answers = {7, 7};
        QVERIFY(w.close());
    }

    void saveAllSetsAllSaved()
    {
        Write("a.bas", "a");
        TMainWindow w(*m_app);
        w.OpenFile(Path("a.bas"));
        Current(w)->insert("1");
        w.RunCommand("NewTextFileClick");
        QVERIFY(w.RunCommand("SaveAllFilesClick"));
        QVERIFY(!w.EditorControl().AllSaved()); // the new file's save dialog was cancelled
        w.EditorTabSet()->setCurrentIndex(1);
        w.RunCommand("CloseFileClick");
        QVERIFY(w.RunCommand("SaveAllFilesClick"));
        QVERIFY(w.EditorControl().AllSaved());
    }

    void findHistoriesPersist()
    {
        {
            TIniFile ini(SettingsFileName());
            ini.WriteString("FindReplaceHistory", "Search1", "later");
            ini.WriteString("FindReplaceHistory", "Replace0", "with");
        }
        {
            TMainWindow w(*m_app);
            w.show();
            QCOMPARE(m_app->SearchDialog().SearchHistory(), QStringList({"later"}));
            QCOMPARE(m_app->SearchDialog().ReplaceHistory(), QStringList({"with"}));
            TSearchDlg &dlg = m_app->SearchDialog();
            dlg.AddToHistory(dlg.SearchTextBox, "first");
        }
        TIniFile ini(SettingsFileName());
        QCOMPARE(ini.ReadString("FindReplaceHistory", "Search0", ""), QString("first"));
        QCOMPARE(ini.ReadString("FindReplaceHistory", "Search1", ""), QString("later"));
        QCOMPARE(ini.ReadString("FindReplaceHistory", "Replace0", ""), QString("with"));
    }

    // The find dialog is made when first used, not with the window: the
    // histories the settings file holds reach it then, and are saved again
    // whether it was made or not.
    void findHistoriesReachTheDialogMadeLater_data()
    {
        QTest::addColumn<QString>("command"); // empty: the dialog is not used
        QTest::addColumn<QStringList>("saved");

        QTest::newRow("never used") << QString() << QStringList({"later", "earlier"});
        QTest::newRow("find") << "FindMenuClick" << QStringList({"needle", "later", "earlier"});
        QTest::newRow("replace") << "FindReplaceMenuClick" << QStringList({"needle", "later", "earlier"});
    }

    void findHistoriesReachTheDialogMadeLater()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, saved);
        {
            TIniFile ini(SettingsFileName());
            ini.WriteString("FindReplaceHistory", "Search0", "later");
            ini.WriteString("FindReplaceHistory", "Search1", "earlier");
            ini.WriteString("FindReplaceHistory", "Replace0", "with");
        }
        Write("prog.bas", "a = 1\r\nneedle = 2\r\n");
        {
            TMainWindow w(*m_app);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(!m_app->SearchDialogMade());
            w.OpenFile(Path("prog.bas"));
            QVERIFY(!m_app->SearchDialogMade());
            QStringList shown;
            w.EditorControl().EditorTabs()->ExecSearchDlg = [&shown](TSearchDlg &dialog, bool) {
                shown = dialog.SearchHistory() + dialog.ReplaceHistory();
                dialog.SearchTextBox->setCurrentText("needle");
                dialog.ReplaceTextBox->setCurrentText("with");
                dialog.done(QDialog::Accepted); // keeps the texts in the histories
                return int(QDialog::Rejected); // and searches nothing
            };
            if (!command.isEmpty()) {
                QVERIFY(w.RunCommand(command));
                QCOMPARE(shown, QStringList({"later", "earlier", "with"}));
            }
            QCOMPARE(m_app->SearchDialogMade(), !command.isEmpty());
        }
        TIniFile ini(SettingsFileName());
        QStringList search;
        for (int i = 0; i < 4; ++i)
            search << ini.ReadString("FindReplaceHistory", QStringLiteral("Search%1").arg(i), "");
        search.removeAll(QString());
        QCOMPARE(search, saved);
        QCOMPARE(ini.ReadString("FindReplaceHistory", "Replace0", ""), QString("with"));
        QCOMPARE(ini.ReadString("FindReplaceHistory", "Replace1", ""), QString());
    }
};

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv);
    TestEditorMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_editor_mainwindow.moc"
