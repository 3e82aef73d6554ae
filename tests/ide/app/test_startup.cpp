// The workbench's start and end around the event loop, with the splash: an
// error box at start-up that stays open longer than the splash, and quitting
// while the splash fades.

#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "ErrorReporter.h"
#include "Globals.h"
#include "IniFile.h"
#include "MainForm.h"
#include "ScopeController.h"
#include "Splash.h"
#include "StartUp.h"
#include "WorkDirController.h"

#include <QDir>
#include <QEventLoop>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestStartUp : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;

    QString SettingsPath() const
    {
        return m_dir->filePath("prog/Korvid.ini");
    }

    // Runs an event loop until the condition holds or five seconds passed, as
    // a modal box does while it is open.
    static bool RunLoopUntil(const std::function<bool()> &condition)
    {
        QEventLoop loop;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (condition())
                loop.quit();
        });
        poll.start(1);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        return condition();
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QDir().mkpath(m_dir->filePath("prog"));
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(m_dir->filePath("prog"), SettingsPath(), m_dir->filePath("config/Korvid.ini")));
        m_errors.clear();
    }

    void cleanup()
    {
        m_app.reset();
        delete m_dir;
        m_dir = nullptr;
    }

    // The file named on the command line is a folder: its error box is open
    // while the splash fades out and destroys itself. Closing the box later
    // goes on with a start-up that no longer has a splash.
    void errorBoxOutlivesTheSplash()
    {
        const QString folder = m_dir->filePath("folder.bas");
        QDir().mkpath(folder);
        TStartUp startUp(*m_app, {folder});
        QPointer<TSplashScreen> splash = startUp.Splash();
        splash->Timer1->start(10);
        bool splashGoneWhileOpen = false;
        m_app->DialogHooks().errorReporter = [&](const QString &message) {
            m_errors << message;
            splashGoneWhileOpen = RunLoopUntil([&] { return splash.isNull(); });
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        };
        QCOMPARE(startUp.Exec(), 0);
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors.first().contains(folder));
        QVERIFY(splashGoneWhileOpen);
        QVERIFY(!startUp.Splash());
    }

    // The main window is closed while the splash fades: the program ends,
    // the splash goes with it, and the session's settings are written.
    void quittingDuringTheFade()
    {
        bool splashDestroyed = false;
        {
            TStartUp startUp(*m_app, {});
            TSplashScreen *splash = startUp.Splash();
            connect(splash, &QObject::destroyed, [&] { splashDestroyed = true; });
            splash->Timer1->start(10);
            QTimer watch;
            connect(&watch, &QTimer::timeout, [&] {
                if (startUp.Splash() && startUp.Splash()->Opacity() < 200) {
                    watch.stop();
                    startUp.Window().close();
                }
            });
            watch.start(0);
            QTimer hang; // a program that does not end fails here
            hang.setSingleShot(true);
            connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(1); });
            hang.start(5000);
            QCOMPARE(startUp.Exec(), 0);
            QVERIFY(!watch.isActive());
        }
        QVERIFY(splashDestroyed);
        QCOMPARE(TIniFile(SettingsPath()).ReadString("Folders", "WorkingDir", "<none>"),
                 QDir::cleanPath(m_app->Paths().ProgramDir()));
    }
};

WORKBENCH_TEST_MAIN(TestStartUp)
#include "test_startup.moc"
