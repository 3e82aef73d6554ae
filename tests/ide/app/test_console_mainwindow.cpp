// The console's popup menu in the main window: Copy and Save text... are
// bound and act on the console, a folder that cannot be written reaches the
// error box, and Clear output on the console tab also forgets the history.
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
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
#include <QFile>
#include <QFileDialog>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

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
};

WORKBENCH_TEST_MAIN(TestConsoleMainWindow)
#include "test_console_mainwindow.moc"
