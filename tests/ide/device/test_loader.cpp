// The download dialog offscreen against a loader on a pseudo-terminal: a
// transfer to its end with the progress shown, the failures that return it
// to idle, Cancel and Escape between records, the refused close, files that
// cannot be sent, the remembered file and the file chooser.

#include "../support/ChildCheck.h"
#include "../support/LoaderPeer.h"
#include "../support/TestFiles.h"
#include "../support/TestPaths.h"
#include "DialogHooks.h"
#include "Globals.h"
#include "IniFile.h"
#include "LoaderDlg.h"
#include "MsgDlg.h"
#include "Serial.h"
#include "Settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <unistd.h>

namespace {

const QByteArray kThreeRecords = ":0100000041BE\r\n:0100010042BC\r\n:00000001FF\r\n";

} // namespace

class TestLoader : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

private:
    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TTestPaths> paths;
    QStringList messages;

    QString SettingsPath() const
    {
        return dir->filePath("Korvid.ini");
    }
    QString LastFile() const
    {
        return Settings::ReadLastTransferFile(TIniFile(SettingsPath()));
    }
    // A dialog on a port to the device, shown as the main window shows it.
    std::unique_ptr<TMcuLoaderDlg> ShowDialog(TMcuComPort &port, const QString &device, const QString &file)
    {
        port.SetComPort(device);
        auto dlg = std::make_unique<TMcuLoaderDlg>();
        dlg->SetComPort(&port);
        dlg->SetFilename(file);
        dlg->show();
        return dlg;
    }

    // Clicks Download in a dialog for the file (a name in the test's folder,
    // or none) and returns what differs from a refused download: exactly one
    // message, starting as given and naming the file (and `fault`, when
    // given); the dialog idle, shown and ready for another try; the port
    // never asked for; no reset sent.
    std::string RefusedDownload(const QString &name, const QString &message, const QString &fault = {})
    {
        TLoaderPeer peer;
        TMcuComPort port;
        const QString path = name.isEmpty() ? QString() : dir->filePath(name);
        auto dlg = ShowDialog(port, peer.Path(), path);
        QTest::mouseClick(dlg->DownloadBtn, Qt::LeftButton);
        const QString first = messages.value(0);
        const bool namesFile = name.isEmpty() || name == "missing.hex" || first.contains(name);
        const std::pair<bool, const char *> checks[] = {
            {messages.size() == 1, "not exactly one message"},
            {first.startsWith(message), "another message"},
            {namesFile, "the message does not name the file"},
            {first.contains(fault), "the message does not name the fault"},
            {dlg->State() == TMcuTransferDlg::tsIdle, "the dialog is not idle"},
            {dlg->DownloadBtn->isEnabled(), "Download is disabled"},
            {dlg->isVisible(), "the dialog is gone"},
            {dlg->Task() == nullptr, "a transfer task is left"},
            {port.Requests() == 0, "the port was asked for"},
            {peer.Resets == 0, "a reset was sent"},
        };
        for (const auto &[holds, what] : checks)
            if (!holds)
                return std::string(what) + ": " + messages.join(" / ").toStdString();
        return {};
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        paths = std::make_unique<TTestPaths>(dir->path(), SettingsPath(), dir->filePath("layout.ini"));
        messages.clear();
        m_hooks.messageDlg = [this](int, const QString &message, const QString &help, bool) {
            messages << message + " | " + help;
            return int(mrOk);
        };
    }

    void cleanup()
    {
        m_hooks.messageDlg = nullptr;
        paths.reset();
        delete dir;
    }

    void sendsTheFileShowsProgressAndClosesWithOk()
    {
        TLoaderPeer peer;
        TMcuComPort port;
        const QString file = WriteTestFile(dir->filePath("prog.hex"), kThreeRecords);
        auto dlg = ShowDialog(port, peer.Path(), file);
        QCOMPARE(dlg->windowTitle(), QString("Download..."));
        QCOMPARE(dlg->FileEdit->text(), file);

        QTest::mouseClick(dlg->DownloadBtn, Qt::LeftButton);
        QCOMPARE(dlg->State(), TMcuTransferDlg::tsRunning);
        QVERIFY(!dlg->DownloadBtn->isEnabled());
        QCOMPARE(LastFile(), file);

        QVERIFY(WaitFor([&] { return !dlg->isVisible(); }));
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->State(), TMcuTransferDlg::tsDone);
        QCOMPARE(peer.Resets, 1);
        QCOMPARE(peer.Records, QList<QByteArray>({":0100000041BE", ":0100010042BC", ":00000001FF"}));
        QCOMPARE(dlg->ProgressLabel->text(), QString("Progress: 3/3"));
        QCOMPARE(dlg->ProgressBar->maximum(), 3);
        QCOMPARE(dlg->ProgressBar->value(), 3);
        QCOMPARE(port.Requests(), 0);
        QVERIFY(!port.Open());
        QVERIFY(messages.isEmpty());
        QVERIFY(!dlg->Running());
    }

    void aFailedTransferReportsAndReturnsToIdle_data()
    {
        QTest::addColumn<bool>("openable");
        QTest::addColumn<char>("ack");
        QTest::addColumn<QString>("message");
        // Each line of the detail on a line of its own, with no carriage
        // return that a message box shows as a blank; %1 is the device.
        QTest::newRow("wrong acknowledgement")
            << true << 'X'
            << "Download aborted! | No response - download canceled!\nPlease check the settings for the serial "
               "interface and make sure the target is in receive mode.";
        QTest::newRow("port cannot be opened")
            << false << '.'
            << "Download aborted! | Unable to open the selected serial interface!\nPlease check, if any other "
               "application already uses this device.\n%1: there is no such device.";
    }

    void aFailedTransferReportsAndReturnsToIdle()
    {
        QFETCH(bool, openable);
        QFETCH(char, ack);
        QFETCH(QString, message);
        TLoaderPeer peer;
        peer.Ack = ack;
        TMcuComPort port;
        const QString file = WriteTestFile(dir->filePath("prog.hex"), kThreeRecords);
        auto dlg = ShowDialog(port, openable ? peer.Path() : dir->filePath("no-such-device"), file);
        QTest::mouseClick(dlg->DownloadBtn, Qt::LeftButton);
        QVERIFY(WaitFor([&] { return !dlg->Running(); }));
        QCOMPARE(messages, QStringList({message.arg(dir->filePath("no-such-device"))}));
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->State(), TMcuTransferDlg::tsIdle);
        QVERIFY(dlg->DownloadBtn->isEnabled());
        QVERIFY(dlg->Task() == nullptr);
        QCOMPARE(port.Requests(), 0);
        QVERIFY(!dlg->Running());
        // The dialog is usable again: Cancel now closes it.
        QTest::mouseClick(dlg->CancelBtn, Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    void stoppingBetweenRecordsIsNoError_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }

    void stoppingBetweenRecordsIsNoError()
    {
        QFETCH(bool, escape);
        TLoaderPeer peer;
        peer.HoldAfter = 1; // the second record waits for its acknowledgement
        TMcuComPort port;
        const QString file = WriteTestFile(dir->filePath("prog.hex"),
                                           ":0100000041BE\n:0100010042BC\n:0100020043BA\n"
                                           ":00000001FF\n");
        auto dlg = ShowDialog(port, peer.Path(), file);
        QTest::mouseClick(dlg->DownloadBtn, Qt::LeftButton);
        QVERIFY(WaitFor([&] { return peer.Records.size() == 2; }));

        QVERIFY(!dlg->close()); // refused while running
        if (escape)
            QTest::keyClick(dlg.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(dlg->CancelBtn, Qt::LeftButton);
        QVERIFY(dlg->isVisible()); // open until the task has ended
        QVERIFY(dlg->Running());

        peer.Release();
        QVERIFY(WaitFor([&] { return !dlg->isVisible(); }));
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(peer.Records.size(), 2);
        QCOMPARE(dlg->ProgressLabel->text(), QString("Progress: 2/4"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(port.Requests(), 0);
    }

    void aFileThatCannotBeSentIsReportedAndNothingSent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("fault");
        QTest::newRow("missing") << "missing.hex"
                                 << "Can't find the selected file! | Please check the file name and path."
                                 << "";
        QTest::newRow("empty name") << ""
                                    << "Can't find the selected file! | Please check the file name and path."
                                    << "";
        QTest::newRow("folder") << "folder.hex"
                                << "Can't open the selected file. | "
                                << "";
        QTest::newRow("unreadable") << "locked.hex"
                                    << ""
                                    << "";
        QTest::newRow("no end-of-file record") << "cut.hex"
                                               << "The download file"
                                               << "the end-of-file record after line 2 is missing";
        QTest::newRow("wrong checksum") << "checksum.hex"
                                        << "The download file"
                                        << "line 2 has a wrong checksum";
        QTest::newRow("no record") << "text.hex"
                                   << "The download file"
                                   << "line 3 is no HEX record";
    }

    void aFileThatCannotBeSentIsReportedAndNothingSent()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, fault);
        QDir(dir->path()).mkdir("folder.hex");
        WriteTestFile(dir->filePath("cut.hex"), ":0100000041BE\r\n:0100010042BC\r\n");
        WriteTestFile(dir->filePath("checksum.hex"), ":0100000041BE\r\n:0100010042BD\r\n:00000001FF\r\n");
        WriteTestFile(dir->filePath("text.hex"), ":0100000041BE\r\n:0100010042BC\r\nPRINT 1\r\n:00000001FF\r\n");
        const QString locked = WriteTestFile(dir->filePath("locked.hex"), kThreeRecords);
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        // Root reads every file: the locked file is tried as "nobody".
        TChildSetup setup;
        setup.asNobody = name == "locked.hex";
        setup.givenToNobody = {dir->path()};
        const TChildResult result = RunInChild(setup, [&] { return RefusedDownload(name, message, fault); });
        if (result.status == TChildResult::Unavailable)
            QSKIP(result.message.c_str());
        QVERIFY2(result.status == TChildResult::Passed, result.message.c_str());
    }

    void theFileIsRememberedAndChosen()
    {
        TMcuLoaderDlg fresh;
        QCOMPARE(fresh.Filename(), QString("<noname>"));

        const QString file = WriteTestFile(dir->filePath("Sub/Prog.HEX"), kThreeRecords);
        TIniFile ini(SettingsPath());
        Settings::WriteLastTransferFile(ini, file);
        TMcuLoaderDlg dlg;
        // Lower case would name another file here: the name keeps its case.
        QCOMPARE(dlg.Filename(), file);
        QCOMPARE(dlg.FileEdit->text(), file);

        QString asked;
        QString answer;
        dlg.AskFileName = [&](QWidget *, const QString &current) {
            asked = current;
            return answer;
        };
        QTest::mouseClick(dlg.BrowseBtn, Qt::LeftButton); // cancelled
        QCOMPARE(asked, file);
        QCOMPARE(dlg.Filename(), file);
        answer = dir->filePath("other.hex");
        QTest::mouseClick(dlg.BrowseBtn, Qt::LeftButton);
        QCOMPARE(dlg.Filename(), answer);
        QCOMPARE(dlg.FileEdit->text(), answer);
        QCOMPARE(LastFile(), file); // written only when a download starts
    }
};

QTEST_MAIN(TestLoader)
#include "test_loader.moc"
