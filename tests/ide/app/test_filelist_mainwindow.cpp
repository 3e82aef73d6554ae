// The working-directory panel and the recent-files entries inside the main
// window: settings hand-over, captions, filter buttons, popup enabling,
// opening files from the panel and the folder dialog.

#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "CaptionPanel.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "FileListBox.h"
#include "Globals.h"
#include "IniFile.h"
#include "MainForm.h"
#include "RecentFiles.h"
#include "ScopeController.h"
#include "WorkDirController.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QtTest>

#include <memory>

// Receives the desktop's "open" requests instead of the desktop.
class TUrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void Open(const QUrl &url)
    {
        urls.append(url);
    }
};

class TestFileListMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;
    QString m_startDir;

    QString Root() const
    {
        return m_dir->path();
    }
    QString Work() const
    {
        return QDir(Root()).canonicalPath() + "/work";
    }
    QString SettingsPath() const
    {
        return m_dir->filePath("prog/Korvid.ini");
    }
    void IniWrite(const QString &section, const QString &key, const QString &value)
    {
        TIniFile(SettingsPath()).WriteString(section, key, value);
    }
    void Touch(const QString &name)
    {
        QFile(Work() + "/" + name).open(QIODevice::WriteOnly);
    }
    static void Select(TMainWindow &w, const QString &text)
    {
        const auto found = w.WorkDirControl().WorkDirList()->findItems(text, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(text));
        w.WorkDirControl().WorkDirList()->setCurrentItem(found.first());
    }
    static void Show(TMainWindow &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private slots:
    void init()
    {
        m_startDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(m_dir->filePath("prog"));
        QDir().mkpath(m_dir->filePath("work/Sub"));
        for (const char *name : {"b.bas", "A.lst", "c.hex", "manual.pdf", "defs.inc"})
            Touch(name);
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(m_dir->filePath("prog"), SettingsPath(), m_dir->filePath("config/Korvid.ini")));
        m_errors.clear();
        m_app->DialogHooks().errorReporter = [this](const QString &m) { m_errors << m; };
    }

    void cleanup()
    {
        m_app.reset();
        QDir::setCurrent(m_startDir);
        m_dir.reset();
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join('\n')));
    }

    void startsInTheProgramDirectory()
    {
        TMainWindow w(*m_app);
        QCOMPARE(w.WorkDirControl().WorkDirList()->Directory(), QDir(m_app->Paths().ProgramDir()).canonicalPath());
        Show(w);
        QCOMPARE(QDir::currentPath(), QDir(m_app->Paths().ProgramDir()).canonicalPath());
    }

    void settingsGiveFolderFilterAndCaptions()
    {
        IniWrite("Folders", "WorkingDir", Work());
        IniWrite("Folders", "FilterBas", "1");
        IniWrite("Folders", "FilterHex", "1");
        TMainWindow w(*m_app);
        Show(w);
        QCOMPARE(w.WorkDirControl().WorkDirList()->Directory(), Work());
        QCOMPARE(QDir::currentPath(), Work());
        QCOMPARE(w.WorkDirControl().WorkDirList()->ItemTexts(), (QStringList{"[..]", "[Sub]", "b.bas", "c.hex"}));
        QCOMPARE(w.WorkDirToolbar()->toolTip(), Work());
        QCOMPARE(w.WorkDirToolbar()->windowTitle(), " " + ShortenPath(Work()));
        QCOMPARE(w.WorkDirPanel()->Caption(), ShortenPath(Work()));
    }

    void filterButtonsSetTheFilter_data()
    {
        QTest::addColumn<QStringList>("down");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("none") << QStringList{} << QStringList{"A.lst", "b.bas", "c.hex", "defs.inc", "manual.pdf"};
        QTest::newRow("lst") << QStringList{"FilterLstBtn"} << QStringList{"A.lst"};
        QTest::newRow("bas+lst") << QStringList{"FilterBasBtn", "FilterLstBtn"} << QStringList{"A.lst", "b.bas"};
    }

    void filterButtonsSetTheFilter()
    {
        QFETCH(QStringList, down);
        QFETCH(QStringList, files);
        IniWrite("Folders", "WorkingDir", Work());
        TMainWindow w(*m_app);
        Show(w);
        for (const QString &name : down)
            w.ToolButton(name)->trigger(); // toggles the button and runs its handler
        QCOMPARE(w.WorkDirControl().WorkDirList()->ItemTexts(), QStringList({"[..]", "[Sub]"}) + files);
    }

    void popupEnablesDeleteWithASelection()
    {
        IniWrite("Folders", "WorkingDir", Work());
        TMainWindow w(*m_app);
        Show(w);
        w.WorkDirControl().WorkDirList()->clearSelection();
        w.WorkDirControl().WorkDirPopupMenuUpdate();
        QVERIFY(!w.MenuItem("DeleteWorkDirFileItem")->isEnabled());
        Select(w, "[Sub]");
        w.WorkDirControl().WorkDirPopupMenuUpdate();
        QVERIFY(w.MenuItem("DeleteWorkDirFileItem")->isEnabled());
    }

    void panelOpensEditorTypesAndHandsOthersToTheDesktop()
    {
        TUrlRecorder desktop;
        QDesktopServices::setUrlHandler("file", &desktop, "Open");
        IniWrite("Folders", "WorkingDir", Work());
        TMainWindow w(*m_app);
        Show(w);
        Select(w, "manual.pdf");
        w.WorkDirControl().OpenWorkDirFile();
        QCOMPARE(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(Work() + "/manual.pdf")});
        QVERIFY(w.WorkDirControl().RecentFileList()->FileAt(0).isEmpty());
        Select(w, "defs.inc");
        w.WorkDirControl().OpenWorkDirFile();
        QCOMPARE(desktop.urls.size(), 1);
        QCOMPARE(w.WorkDirControl().RecentFileList()->FileAt(0), Work() + "/defs.inc");
        QDesktopServices::unsetUrlHandler("file");
    }

    void recentEntriesFollowTheList()
    {
        IniWrite("MRUFiles", "File0", "/w/zero.bas");
        IniWrite("MRUFiles", "File1", "/w/R&D.bas");
        IniWrite("MRUFiles", "File3", "/w/three.bas");
        TMainWindow w(*m_app);
        Show(w);
        w.FileMenuClick();
        const QStringList expected = {"&0 /w/zero.bas", "&1 /w/R&&D.bas", "&2 /w/three.bas"};
        for (int i = 0; i < 5; ++i) {
            QAction *entry = w.MenuItem(QString("RecentFile%1").arg(i));
            QVERIFY(entry);
            QCOMPARE(entry->isVisible(), i < 3);
            if (i < 3)
                QCOMPARE(entry->text(), expected[i]);
        }
        QVERIFY(w.Menu("RecentFilesMenu")->menuAction()->isEnabled());
        w.MenuItem("RecentFile2")->trigger();
        QCOMPARE(w.WorkDirControl().RecentFileList()->FileAt(0), QString("/w/three.bas"));
    }

    void noRecentFilesDisablesTheSubmenu()
    {
        TMainWindow w(*m_app);
        Show(w);
        w.FileMenuClick();
        QVERIFY(!w.MenuItem("RecentFile0")->isVisible());
        QVERIFY(!w.Menu("RecentFilesMenu")->menuAction()->isEnabled());
    }

    void folderAndRecentFilesAreWrittenBack()
    {
        IniWrite("Folders", "WorkingDir", Work());
        for (int i = 0; i < 5; ++i)
            IniWrite("MRUFiles", QString("File%1").arg(i), QString("/old%1.bas").arg(i));
        {
            TMainWindow w(*m_app);
            Show(w);
            Select(w, "[Sub]");
            QTest::keyClick(w.WorkDirControl().WorkDirList(), Qt::Key_Return);
            w.OpenFile("/new.bas");
            w.close();
        }
        const TIniFile ini(SettingsPath());
        QCOMPARE(ini.ReadString("Folders", "WorkingDir", ""), Work() + "/Sub");
        QCOMPARE(ini.ReadString("MRUFiles", "File0", ""), QString("/new.bas"));
        QCOMPARE(ini.ReadString("MRUFiles", "File4", ""), QString("/old3.bas"));
    }

    void folderDialogSwitchesTheFolder()
    {
        TMainWindow w(*m_app);
        Show(w);
        QString caption;
        QTimer::singleShot(0, &w, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            dialog->setDirectory(Work());
            dialog->selectFile(Work() + "/Sub");
            static_cast<QDialog *>(dialog)->accept();
        });
        w.WorkDirControl().WorkDirBtnClick();
        QCOMPARE(caption, QString("Select working folder..."));
        QCOMPARE(w.WorkDirControl().WorkDirList()->Directory(), Work() + "/Sub");
    }
};

WORKBENCH_TEST_MAIN(TestFileListMainWindow)
#include "test_filelist_mainwindow.moc"
