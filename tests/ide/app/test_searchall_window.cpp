#include "../support/TestFiles.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "CaptionPanel.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "FileListBox.h"
#include "FindListBox.h"
#include "Globals.h"
#include "IEditor.h"
#include "MainForm.h"
#include "ScopeController.h"
#include "SearchAll.h"
#include "SourceEditor.h"
#include "WorkDirController.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Find All from the main window: scope, result list, jump and errors.
class TestSearchAllWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;
    QString m_seenText;

    QString Path(const QString &name) const
    {
        return m_dir->filePath(name);
    }

    QString WriteFile(const QString &name, const QByteArray &text)
    {
        return WriteTestFile(Path(name), text);
    }

    // Answers the dialog once it is up: scope boxes, search text, OK or Cancel.
    void Answer(const QString &text, bool openFiles, bool workDir, bool ok = true)
    {
        QTimer::singleShot(0, [=, this] {
            TSearchAllDlg &dlg = m_app->SearchAllDialog();
            m_seenText = dlg.SearchText();
            dlg.SetSearchText(text);
            dlg.SearchOpenFilesBtn->setChecked(openFiles);
            dlg.SearchWorkDirBtn->setChecked(workDir);
            (ok ? dlg.OKBtn : dlg.CancelBtn)->click();
        });
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QDir().mkpath(Path("prog"));
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(Path("prog"), Path("prog/Korvid.ini"), Path("config/Korvid.ini")));
        m_errors.clear();
        m_app->DialogHooks().errorReporter = [this](const QString &m) { m_errors << m; };
    }

    void cleanup()
    {
        m_app.reset();
        delete m_dir;
        m_dir = nullptr;
    }

    void NoEditorScopes_data()
    {
        QTest::addColumn<bool>("workDir");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("nothing ticked") << false << QStringList({"completed."});
        QTest::newRow("working directory")
            << true << QStringList({"Search in working directory...", "@/work/a.bas(2):   x = 1  ", "completed."});
    }
    void NoEditorScopes()
    {
        QFETCH(bool, workDir);
        QFETCH(QStringList, expected);
        WriteFile("work/a.bas", "y = 2\nx = 1\n");
        TMainWindow w(*m_app);
        w.WorkDirControl().WorkDirList()->SetDirectory(Path("work"));
        w.ShowOutputPanel(false);
        Answer("x", false, workDir);
        QVERIFY(w.RunCommand("FindAllMenuClick"));
        expected.replaceInStrings("@", m_dir->path());
        QCOMPARE(w.EditorControl().FindList()->Lines(), expected);
        QCOMPARE(w.OutputTabs()->currentIndex(), int(TMainWindow::OutputFindTab));
        QVERIFY(w.OutputPanel()->isVisibleTo(&w));
    }

    // Open files are searched as they stand in the editor; the same file in
    // the working directory once more as saved. A result opens its line.
    void OpenFilesThenDiskThenJump()
    {
        const QString a = WriteFile("work/a.bas", "x = 1\n");
        const QString b = WriteFile("work/b.bas", "\n\nREM\n");
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.WorkDirControl().WorkDirList()->SetDirectory(Path("work"));
        w.OpenFile(b);
        w.OpenFile(a);
        AsSourceEditor(w.CurrentEditor())->setText("z = 0\nx = 2\n");
        AsSourceEditor(w.CurrentEditor())->setSelection(1, 0, 1, 1);
        Answer("x", true, true);
        QVERIFY(w.RunCommand("FindAllMenuClick"));
        QCOMPARE(m_seenText, QString("x")); // the selection filled the search box
        const QStringList lines = w.EditorControl().FindList()->Lines();
        QCOMPARE(lines.first(), QString("Search in open files..."));
        QVERIFY(lines.contains(a + "(2):   x = 2  "));
        QVERIFY(lines.contains(a + "(1):   x = 1  "));
        QCOMPARE(lines.last(), QString("completed."));

        Answer("rem", false, false);
        QVERIFY(w.RunCommand("FindAllMenuClick"));
        QCOMPARE(w.EditorControl().FindList()->Lines(), QStringList({"Search in current file...", "completed."}));
        Answer("rem", true, false);
        QVERIFY(w.RunCommand("FindAllMenuClick"));
        QCOMPARE(w.EditorControl().FindList()->Lines(),
                 QStringList({"Search in open files...", b + "(3):   REM  ", "completed."}));
        w.EditorControl().FindList()->setCurrentRow(1);
        w.EditorControl().FindList()->DblClick();
        QCOMPARE(w.CurrentEditor()->GetFileName(), b);
        QCOMPARE(AsSourceEditor(w.CurrentEditor())->CaretLine(), 3);
    }

    void CancelLeavesTheList()
    {
        TMainWindow w(*m_app);
        w.EditorControl().FindList()->AddLine("old");
        Answer("x", false, true, false);
        QVERIFY(w.RunCommand("FindAllMenuClick"));
        QCOMPARE(w.EditorControl().FindList()->Lines(), QStringList({"old"}));
    }

    void ReadErrorIsShown()
    {
        WriteFile("work/a.bas", "x\n");
        QVERIFY(QFile::link("/proc/self/mem", Path("work/broken.bas")));
        TMainWindow w(*m_app);
        w.WorkDirControl().WorkDirList()->SetDirectory(Path("work"));
        Answer("x", false, true);
        QVERIFY(!w.RunCommand("FindAllMenuClick"));
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors.first().contains("broken.bas"), qPrintable(m_errors.first()));
        QVERIFY(!w.EditorControl().FindList()->Lines().contains("completed."));
        QCOMPARE(w.EditorControl().FindList()->Lines().first(), QString("Search in working directory..."));
    }
};

WORKBENCH_TEST_MAIN(TestSearchAllWindow)
#include "test_searchall_window.moc"
