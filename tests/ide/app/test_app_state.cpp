// Two workbenches in one process keep apart what each owns: the paths in
// force, the serial and terminal records, the one-time preparation of the
// settings file, the notice of an unreadable file, the find dialogs and
// their history; and two windows each show the settings of their own.

#include "../support/TestFiles.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "DeviceController.h"
#include "ErrorReporter.h"
#include "IniFile.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "SearchAll.h"
#include "SearchReplace.h"
#include "Serial.h"
#include "Settings.h"

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestAppState : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QStringList m_errors;

    // The paths of the workbench named name, all in a folder of its own.
    TWorkbenchPaths Paths(const QString &name) const
    {
        QDir().mkpath(m_dir.filePath(name + "/prog"));
        return TWorkbenchPaths(m_dir.filePath(name + "/prog"), m_dir.filePath(name + "/prog/Korvid.ini"),
                               m_dir.filePath(name + "/layout.ini"));
    }

    // Errors go to m_errors.
    void Record(TAppState &app)
    {
        app.DialogHooks().errorReporter = [this](const QString &message) { m_errors << message; };
    }

private slots:
    void init()
    {
        m_errors.clear();
    }

    void cleanup()
    {
        while (SerialPort().Requests() > 0)
            SerialPort().ClosePort();
    }

    void thePathsInForceAreThoseOfTheWorkbenchStartedLast()
    {
        const TAppState first(Paths("first"));
        QCOMPARE(SettingsFileName(), first.Paths().SettingsFileName());
        {
            const TAppState second(Paths("second"));
            QCOMPARE(SettingsFileName(), second.Paths().SettingsFileName());
            QCOMPARE(LayoutFileName(), second.Paths().LayoutFileName());
            QCOMPARE(QString(ProgramDir), second.Paths().ProgramDir());
            QVERIFY(first.Paths().SettingsFileName() != second.Paths().SettingsFileName());
        }
        QCOMPARE(SettingsFileName(), first.Paths().SettingsFileName());
        QCOMPARE(QString(ProgramDir), first.Paths().ProgramDir());
    }

    // The boxes of a workbench are answered by its own hooks, and by those
    // of the one started before once it has gone.
    void theHooksInForceAreThoseOfTheWorkbenchStartedLast()
    {
        QStringList answeredBy;
        TAppState first(Paths("first"));
        first.DialogHooks().messageDlg = [&](int, const QString &message, const QString &, bool) {
            answeredBy << "first: " + message;
            return int(mrYes);
        };
        {
            TAppState second(Paths("second"));
            second.DialogHooks().messageDlg = [&](int, const QString &message, const QString &, bool) {
                answeredBy << "second: " + message;
                return int(mrNo);
            };
            QCOMPARE(ShowMessageDlg(mkConfirmation, "one", QString(), false), int(mrNo));
            second.DialogHooks().errorReporter = [&](const QString &message) { answeredBy << "error: " + message; };
            ShowErrorMessage("two");
        }
        QCOMPARE(ShowMessageDlg(mkConfirmation, "three", QString(), false), int(mrYes));
        QCOMPARE(answeredBy, QStringList({"second: one", "error: two", "first: three"}));
    }

    void recordsAndPreparationAreEachWorkbenchsOwn()
    {
        TAppState first(Paths("first"));
        TAppState second(Paths("second"));
        first.LinkSettings().Port.ComPort = "/dev/ttyFirst";
        first.LinkSettings().Port.Changed = true;
        first.LinkSettings().Terminal.Macros = {"AT"};
        QCOMPARE(second.LinkSettings().Port.ComPort, QString("COM1"));
        QVERIFY(!second.LinkSettings().Port.Changed);
        QVERIFY(second.LinkSettings().Terminal.Macros.isEmpty());

        QVERIFY(first.TakeSettingsPreparation());
        QVERIFY(!first.TakeSettingsPreparation()); // once per workbench
        QVERIFY(!second.SettingsPrepared());
        QVERIFY(second.TakeSettingsPreparation());
    }

    void eachWorkbenchTellsOfAnUnreadableFileOnce()
    {
        const QString folder = m_dir.filePath("unreadable.ini");
        QDir().mkpath(folder); // a folder where the file should be
        const TIniFile ini(folder);
        TAppState first(Paths("first"));
        TAppState second(Paths("second"));
        Record(first);
        Record(second);
        QVERIFY(first.SettingsNotice().Unreadable(ini));
        QVERIFY(first.SettingsNotice().Unreadable(ini));
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(second.SettingsNotice().Unreadable(ini));
        QCOMPARE(m_errors.size(), 2);
        QCOMPARE(m_errors[0], m_errors[1]);
    }

    void findDialogsAndTheirHistoryAreEachWorkbenchsOwn()
    {
        TAppState first(Paths("first"));
        TAppState second(Paths("second"));
        QVERIFY(&first.SearchDialog() != &second.SearchDialog());
        QCOMPARE(&first.SearchDialog(), &first.SearchDialog()); // reused
        first.SearchDialog().SetSearchHistory({"alpha"});
        second.SearchAllDialog().AddToHistory("beta"); // reaches its own find dialog only
        QCOMPARE(first.SearchDialog().SearchHistory(), QStringList({"alpha"}));
        QCOMPARE(second.SearchDialog().SearchHistory(), QStringList({"beta"}));
        QCOMPARE(first.SearchAllDialog().GetHistory(), QStringList({"alpha"}));
    }

    void twoWindowsShowTheMacrosOfTheirOwnSettingsFile()
    {
        TAppState firstApp(Paths("first"));
        Record(firstApp);
        WriteTestFile(firstApp.Paths().SettingsFileName(), "[Macros]\nMacro0=first one\nMacro1=first two\n");
        TMainWindow first(firstApp);
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        TAppState secondApp(Paths("second"));
        Record(secondApp);
        WriteTestFile(secondApp.Paths().SettingsFileName(), "[Macros]\nMacro0=second\n");
        TMainWindow second(secondApp);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));

        QCOMPARE(first.DeviceControl().MacroBox()->count(), 2);
        QCOMPARE(first.DeviceControl().MacroBox()->currentText(), QString("first one"));
        QCOMPARE(second.DeviceControl().MacroBox()->count(), 1);
        QCOMPARE(second.DeviceControl().MacroBox()->currentText(), QString("second"));
        QVERIFY(firstApp.SettingsPrepared() && secondApp.SettingsPrepared());
        QCOMPARE(firstApp.LinkSettings().Terminal.Macros, QStringList({"first one", "first two"}));
        QCOMPARE(secondApp.LinkSettings().Terminal.Macros, QStringList({"second"}));
        QVERIFY(m_errors.isEmpty());
    }
};

WORKBENCH_TEST_MAIN(TestAppState)
#include "test_app_state.moc"
