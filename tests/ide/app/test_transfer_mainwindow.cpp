// Download, Reset and Update... in the main window, against a loader on a
// pseudo-terminal: F10 proposes the HEX file beside the active editor's file
// and connects the console after the transfer (keeping the scope tab), the
// window refuses to close while a transfer runs, Reset is enabled only while
// the port is open and sends the reset command, and the update wizard leaves
// the terminal alone.

#include "../support/LoaderPeer.h"
#include "../support/TestFiles.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "ColorListBox.h"
#include "CompilerRunner.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "Globals.h"
#include "LoaderDlg.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "Preferences.h"
#include "ScopeController.h"
#include "Serial.h"
#include "SourceEditor.h"
#include "Update.h"
#include "WorkDirController.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kProgram = ":0100000041BE\r\n:0100010042BC\r\n:00000001FF\r\n";

// The dialogs run without a modal loop: the test's script plays the user.
class TTransferWindow : public TMainWindow {
public:
    using TMainWindow::TMainWindow;

    std::function<int(TMcuTransferDlg &)> play;

    int ExecTransferDialog(TMcuTransferDlg &dialog) override
    {
        dialog.show();
        return play ? play(dialog) : int(QDialog::Rejected);
    }
};

} // namespace

class TestTransferMainWindow : public QObject {
    Q_OBJECT

private:
    static constexpr int kNoImage = -1;

    // Dates a file back by the given number of seconds.
    static bool Age(const QString &path, int seconds)
    {
        QFile file(path);
        const QDateTime when = QDateTime::currentDateTime().addSecs(-seconds);
        return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
    }

    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList messages;

    QString Path(const QString &name) const
    {
        return dir->filePath(name);
    }
    std::unique_ptr<TTransferWindow> ShowWindow(const QString &device)
    {
        WriteTestFile(Path("prog/Korvid.ini"), "[COM-Device]\nPort=" + device.toLocal8Bit() + "\n");
        auto w = std::make_unique<TTransferWindow>(*m_app);
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("the window did not become active: its keys do not work");
        return w;
    }
    // Clicks "Download" and waits for the transfer's end.
    static int DownloadAndWait(TMcuTransferDlg &dialog)
    {
        QTest::mouseClick(dialog.DownloadBtn, Qt::LeftButton);
        WaitFor([&] { return !dialog.isVisible(); });
        return dialog.result();
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        QDir().mkpath(Path("prog"));
        m_app = std::make_unique<TAppState>(
            TWorkbenchPaths(Path("prog"), Path("prog/Korvid.ini"), Path("config/Korvid.ini")));
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

    void downloadSendsTheHexBesideTheEditorAndConnects_data()
    {
        QTest::addColumn<int>("tabBefore");
        QTest::addColumn<int>("tabAfter");
        QTest::newRow("build tab") << int(TMainWindow::OutputBuildTab) << int(TMainWindow::OutputConsoleTab);
        QTest::newRow("scope tab") << int(TMainWindow::OutputScopeTab) << int(TMainWindow::OutputScopeTab);
    }

    void downloadSendsTheHexBesideTheEditorAndConnects()
    {
        QFETCH(int, tabBefore);
        QFETCH(int, tabAfter);
        TLoaderPeer peer;
        const QString source = WriteTestFile(Path("src/prog.bas"), "PRINT \"A\"\r\n");
        const QString hex = WriteTestFile(Path("src/prog.hex"), kProgram);
        auto w = ShowWindow(peer.Path());
        w->OpenFile(source);
        w->OutputTabs()->setCurrentIndex(tabBefore);
        QString proposed;
        bool closedMeanwhile = true;
        bool openWhileIdle = true;
        w->play = [&](TMcuTransferDlg &dialog) {
            proposed = static_cast<TMcuLoaderDlg &>(dialog).FileEdit->text();
            openWhileIdle = SerialPort().Open();
            peer.HoldAfter = 1;
            QTest::mouseClick(dialog.DownloadBtn, Qt::LeftButton);
            WaitFor([&] { return peer.Records.size() == 2; });
            closedMeanwhile = w->close(); // refused while the transfer runs
            peer.Release();
            WaitFor([&] { return !dialog.isVisible(); });
            return dialog.result();
        };
        QTest::keyClick(w.get(), Qt::Key_F10);
        QCOMPARE(proposed, hex);
        QVERIFY(!openWhileIdle); // the device is opened by the transfer, not by the dialog
        QVERIFY(!closedMeanwhile);
        QVERIFY(w->isVisible());
        QCOMPARE(peer.Records.size(), 3);
        QVERIFY(messages.isEmpty());
        QVERIFY(SerialPort().Open()); // the console is connected afterwards
        QCOMPARE(SerialPort().Requests(), 1);
        QVERIFY(!w->MenuItem("ConnectMenu")->isEnabled());
        QCOMPARE(w->OutputTabs()->currentIndex(), tabAfter);
    }

    // F10 sends what the user sees: an image older than its source or one
    // of its included files, a missing one or an unsaved source is compiled
    // first (saving first), and only a compile without errors opens the
    // download; an image that is up to date goes without a compile.
    void aStaleImageIsCompiledBeforeTheDownload_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("typed"); // into the editor, unsaved; empty: nothing
        QTest::addColumn<int>("imageAge"); // seconds, against the sources' 100; kNoImage: none
        QTest::addColumn<int>("libAge");
        QTest::addColumn<bool>("compiled");
        QTest::addColumn<bool>("downloaded");
        const QByteArray plain = "PRINT \"A\"\n";
        const QByteArray including = "#INCLUDE \"lib\"\nPRINT \"A\"\n";
        QTest::newRow("up_to_date") << plain << QByteArray() << 50 << 100 << false << true;
        QTest::newRow("source_newer") << plain << QByteArray() << 200 << 300 << true << true;
        QTest::newRow("included_file_newer") << including << QByteArray() << 70 << 10 << true << true;
        QTest::newRow("unrelated_file_newer") << plain << QByteArray() << 70 << 10 << false << true;
        QTest::newRow("no_image") << plain << QByteArray() << kNoImage << 100 << true << true;
        QTest::newRow("unsaved_source") << plain << QByteArray("PRINT \"B\"\n") << 50 << 100 << true << true;
        QTest::newRow("unsaved_with_errors") << plain << QByteArray("PRINT )(\n") << 50 << 100 << true << false;
        QTest::newRow("stale_with_errors") << QByteArray("PRINT )(\n") << QByteArray() << 200 << 300 << true << false;
    }

    void aStaleImageIsCompiledBeforeTheDownload()
    {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, typed);
        QFETCH(int, imageAge);
        QFETCH(int, libAge);
        QFETCH(bool, compiled);
        QFETCH(bool, downloaded);
        const QString compiler = CompilerPath(m_app->Paths().ProgramDir());
        QVERIFY(QFile::copy(qEnvironmentVariable("VELMO_BIN_DIR") + "/velc", compiler));
        TLoaderPeer peer;
        const QString sourcePath = WriteTestFile(Path("src/prog.bas"), source);
        const QString lib = WriteTestFile(Path("src/lib.bas"), "BYTE k\n");
        const QString hex = Path("src/prog.hex");
        QVERIFY(Age(sourcePath, 100) && Age(lib, libAge));
        if (imageAge != kNoImage)
            QVERIFY(Age(WriteTestFile(hex, kProgram), imageAge));
        auto w = ShowWindow(peer.Path());
        w->OpenFile(sourcePath);
        if (!typed.isEmpty())
            AsSourceEditor(w->CurrentEditor())->setText(QString::fromLatin1(typed));
        QSignalSpy compiles(&w->Compiler(), &TCompilerRunner::Started);
        int shown = 0;
        w->play = [&](TMcuTransferDlg &dialog) {
            ++shown;
            return DownloadAndWait(dialog);
        };
        QTest::keyClick(w.get(), Qt::Key_F10);
        QVERIFY(WaitFor([&] { return !w->Compiler().Running(); }, 30000));
        QTest::qWait(50); // the download follows the compile's end
        QCOMPARE(compiles.size(), compiled ? 1 : 0);
        QCOMPARE(shown, downloaded ? 1 : 0);
        QVERIFY(!w->CurrentEditor()->CanSave()); // saved, when it was not
        const QStringList build = w->BuildControl().BuildList()->Lines();
        QCOMPARE(build.contains("0 - Error(s)."), compiled && downloaded);
        if (!downloaded) {
            QVERIFY(peer.Records.isEmpty());
            QCOMPARE(w->OutputTabs()->currentIndex(), int(TMainWindow::OutputBuildTab));
            return;
        }
        QFile image(hex);
        QVERIFY(image.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = image.readAll().trimmed().split('\n');
        QCOMPARE(peer.Records.size(), lines.size());
        QCOMPARE(peer.Records.first(), lines.first().trimmed()); // the compiled image, or the one there was
        QCOMPARE(lines.first().trimmed() == ":0100000041BE", !compiled);
    }

    void aConnectedTerminalStaysConnected()
    {
        TLoaderPeer peer;
        const QString hex = WriteTestFile(Path("remembered.hex"), kProgram);
        WriteTestFile(Path("prog/Korvid.ini"),
                      "[COM-Device]\nPort=" + peer.Path().toLocal8Bit() +
                          "\n[Transfer]\nLastFile=" + hex.toLocal8Bit() + "\n");
        TTransferWindow w(*m_app);
        w.show();
        w.RunCommand("ConnectMenuClick");
        QString proposed;
        w.play = [&](TMcuTransferDlg &dialog) {
            proposed = static_cast<TMcuLoaderDlg &>(dialog).Filename();
            return DownloadAndWait(dialog);
        };
        w.RunCommand("DownloadMenuClick");
        QCOMPARE(proposed, hex); // no editor: the remembered file
        QCOMPARE(peer.Records.size(), 3);
        QVERIFY(SerialPort().Open());
        QCOMPARE(SerialPort().Requests(), 1);
    }

    void aFailedDownloadDoesNotConnect()
    {
        TLoaderPeer peer;
        peer.Ack = '?';
        const QString source = WriteTestFile(Path("src/prog.bas"), "END\r\n");
        WriteTestFile(Path("src/prog.hex"), kProgram); // up to date: no compile first
        auto w = ShowWindow(peer.Path());
        w->OpenFile(source);
        int requestsAfterTheFailure = -1;
        w->play = [&](TMcuTransferDlg &dialog) {
            QTest::mouseClick(dialog.DownloadBtn, Qt::LeftButton);
            WaitFor([&] { return !dialog.Running(); });
            requestsAfterTheFailure = SerialPort().Requests(); // let go at once, not when the dialog closes
            dialog.reject();
            return dialog.result();
        };
        w->RunCommand("DownloadMenuClick");
        QCOMPARE(requestsAfterTheFailure, 0);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith("Download aborted! | No response - download canceled!"));
        QVERIFY(!SerialPort().Open());
        QCOMPARE(SerialPort().Requests(), 0);
    }

    void resetIsEnabledOnlyWhileThePortIsOpen()
    {
        TLoaderPeer peer;
        auto w = ShowWindow(peer.Path());
        w->ControllerMenuClick();
        QVERIFY(!w->MenuItem("ResetMenu")->isEnabled());
        QTest::keyClick(w.get(), Qt::Key_F11); // does nothing while closed

        w->RunCommand("ConnectMenuClick");
        w->ControllerMenuClick();
        QVERIFY(w->MenuItem("ResetMenu")->isEnabled());
        QTest::keyClick(w.get(), Qt::Key_F11); // the loader peer answers the reset command
        QVERIFY(WaitFor([&] { return peer.Resets > 0; }));
        QCOMPARE(peer.Resets, 1); // none from the key pressed while closed
        QVERIFY(SerialPort().Open());

        w->RunCommand("DisconnectMenuClick");
        w->ControllerMenuClick();
        QVERIFY(!w->MenuItem("ResetMenu")->isEnabled());
    }

    void updateSendsTheImageAndLeavesTheTerminalAlone()
    {
        TLoaderPeer peer;
        WriteTestFile(Path("prog/Updates/ZENTRA8_V1.05.hex"), kProgram);
        auto w = ShowWindow(peer.Path());
        int result = -1;
        w->play = [&](TMcuTransferDlg &dialog) {
            auto &wizard = static_cast<TMcuUpdate &>(dialog);
            QTest::mouseClick(wizard.NextBtn, Qt::LeftButton);
            return result = DownloadAndWait(dialog);
        };
        w->RunCommand("UpdateMenuClick");
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(peer.Records.size(), 3);
        QVERIFY(!SerialPort().Open());
        QCOMPARE(SerialPort().Requests(), 0);
    }
};

WORKBENCH_TEST_MAIN(TestTransferMainWindow)
#include "test_transfer_mainwindow.moc"
