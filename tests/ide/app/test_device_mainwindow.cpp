// The serial link in the main window, on pseudo-terminals with a scripted
// peer and with the simulated module: connect and disconnect with their
// enabling and status panels, a failed connect, received text and typed
// keys, macros with delays and the busy guard, the settings dialog reaching
// the device, a device that vanishes, and the console's recording.

#include "../support/PtyPeer.h"
#include "../support/TestFiles.h"
#include "../support/WindowConsole.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "DeviceController.h"
#include "DeviceReturn.h"
#include "EditorController.h"
#include "ErrorReporter.h"
#include "Globals.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "Preferences.h"
#include "ScopeController.h"
#include "Serial.h"
#include "Terminal.h"
#include "WorkDirController.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class TDeviceWindow : public TMainWindow {
public:
    using TMainWindow::TMainWindow;

    QString logFileAnswer;

    QString AskLogFileName(const QString &) override
    {
        return logFileAnswer;
    }
};

} // namespace

class TestDeviceMainWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList messages;
    int answer = mrOk;

    QString SettingsPath() const
    {
        return dir->filePath("prog/Korvid.ini");
    }
    void WriteSettings(const QString &port, const QByteArray &more = QByteArray())
    {
        WriteTestFile(SettingsPath(), "[COM-Device]\nPort=" + port.toLocal8Bit() + "\n" + more);
    }
    // A window as Korvid shows it, with the settings file applied.
    std::unique_ptr<TDeviceWindow> ShowWindow()
    {
        auto w = std::make_unique<TDeviceWindow>(*m_app);
        w->show();
        return w;
    }
    bool Enabled(TMainWindow &w, const char *item, const char *button)
    {
        const bool menu = w.MenuItem(item)->isEnabled();
        const bool tool = w.ToolButton(button)->isEnabled();
        if (menu != tool)
            qWarning("%s and %s disagree", item, button);
        return menu && tool;
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
        answer = mrOk;
        m_app->DialogHooks().messageDlg = [this](int, const QString &message, const QString &help, bool) {
            messages << message + " | " + help;
            return answer;
        };
    }

    void cleanup()
    {
        m_app.reset();
        while (SerialPort().Requests() > 0)
            SerialPort().ClosePort();
        delete dir;
    }

    void commandsOfTheLinkAreBound()
    {
        auto w = ShowWindow();
        const QStringList unbound = w->Commands().Unbound();
        for (const char *name : {"SettingsMenuClick", "ConnectMenuClick", "DisconnectMenuClick", "SendMacroBtnClick",
                                 "ConsoleLoggingMenuClick"})
            QVERIFY2(!unbound.contains(name), name);
    }

    void connectAndDisconnect()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path(), "Baudrate=115.2k\n[Terminal]\nEcho=1\nEmulation=HEX\n");
        auto w = ShowWindow();
        QCOMPARE(w->StatusText(3), QString());
        QCOMPARE(w->StatusText(4), QString("Echo"));
        QCOMPARE(w->StatusText(5), QString("HEX"));
        QVERIFY(Enabled(*w, "ConnectMenu", "ConnectBtn"));
        QVERIFY(!w->ToolButton("DisconnectBtn")->isEnabled());

        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        QCOMPARE(w->StatusText(3), peer.Path() + " 115200,8,N,1");
        QVERIFY(!w->MenuItem("ConnectMenu")->isEnabled() && !w->ToolButton("ConnectBtn")->isEnabled());
        QVERIFY(Enabled(*w, "DisconnectMenu", "DisconnectBtn"));
        QCOMPARE(w->OutputTabs()->currentIndex(), int(TMainWindow::OutputConsoleTab));

        w->RunCommand("ConnectMenuClick"); // connecting twice opens once
        QCOMPARE(SerialPort().Requests(), 1);

        w->RunCommand("DisconnectMenuClick");
        QVERIFY(!SerialPort().Open());
        QCOMPARE(SerialPort().Requests(), 0);
        QCOMPARE(w->StatusText(3), QString());
        QVERIFY(Enabled(*w, "ConnectMenu", "ConnectBtn"));
        QVERIFY(!w->MenuItem("DisconnectMenu")->isEnabled());
        QVERIFY(messages.isEmpty());
    }

    void connectKeepsTheScopeTab()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path());
        auto w = ShowWindow();
        w->OutputTabs()->setCurrentIndex(TMainWindow::OutputScopeTab);
        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        QCOMPARE(w->OutputTabs()->currentIndex(), int(TMainWindow::OutputScopeTab));
    }

    void aFailedConnectWarnsAndChangesNothing()
    {
        WriteSettings(dir->filePath("no-such-device"));
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        QCOMPARE(messages,
                 QStringList({"Unable to open the serial interface! | Please check, if any other application "
                              "already uses the selected device.\n" +
                              dir->filePath("no-such-device") + ": there is no such device."}));
        QVERIFY(!SerialPort().Open());
        QCOMPARE(SerialPort().Requests(), 0);
        QVERIFY(Enabled(*w, "ConnectMenu", "ConnectBtn"));
        QVERIFY(!w->MenuItem("DisconnectMenu")->isEnabled());
        QCOMPARE(w->StatusText(3), QString());
    }

    void receivedTextAndTypedKeys()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path(), "[Terminal]\nCRLF(Out)=1\n");
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        QByteArray all("hello #17\r\n");
        all.append(QByteArray("\0\x01\x7f\xff", 4)).append("end");
        peer.Write(all);
        QTRY_VERIFY(ConsoleText(*w).endsWith("end"));
        QVERIFY(ConsoleText(*w).startsWith("hello|"));
        w->DeviceControl().Console()->setFocus();
        QTest::keyClick(w->DeviceControl().Console(), Qt::Key_Z);
        QTest::keyClick(w->DeviceControl().Console(), Qt::Key_Return);
        QCOMPARE(peer.Read(3), QByteArray("z\r\n"));
    }

    void macrosSendDecodedBytesWithTheirDelays()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path(), "[Macros]\nMacro0=AT#13#10\nMacro1=#27T200X\n[Terminal]\nEcho=1\n");
        auto w = ShowWindow();
        QCOMPARE(w->DeviceControl().MacroBox()->count(), 2);
        QCOMPARE(w->DeviceControl().MacroBox()->currentText(), QString("AT#13#10"));
        QVERIFY(w->ToolButton("SendMacroBtn")->isEnabled());
        w->RunCommand("SendMacroBtnClick"); // closed: only echoed
        QCOMPARE(ConsoleText(*w), QString("AT"));
        w->RunCommand("ConnectMenuClick");
        w->RunCommand("SendMacroBtnClick");
        QCOMPARE(peer.Read(4).toHex(' '), QByteArray("41 54 0d 0a"));

        w->DeviceControl().MacroBox()->setCurrentIndex(1);
        int refused = 0;
        QTimer::singleShot(20, w.get(), [&] {
            w->RunCommand("SendMacroBtnClick"); // during the delay: refused
            ++refused;
        });
        QElapsedTimer timer;
        timer.start();
        w->RunCommand("SendMacroBtnClick");
        QVERIFY(timer.elapsed() >= 200);
        QCOMPARE(refused, 1);
        QCOMPARE(peer.Read(2, 200), QByteArray("X"));
    }

    void typedMacroAndTheBoxKeys()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path(), "[Macros]\nMacro0=first\nMacro1=last\n");
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        w->DeviceControl().MacroBox()->setCurrentIndex(1);
        w->DeviceControl().MacroBox()->setFocus();
        QTest::keyClick(w->DeviceControl().MacroBox(), Qt::Key_Down); // swallowed on the last entry
        QCOMPARE(w->DeviceControl().MacroBox()->currentIndex(), 1);
        w->DeviceControl().MacroBox()->setEditText("typed#33");
        QTest::keyClick(w->DeviceControl().MacroBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(peer.Read(6), QByteArray("typed!"));
        w->DeviceControl().MacroBox()->setEditText(QString());
        QVERIFY(!w->ToolButton("SendMacroBtn")->isEnabled());
    }

    // A module that stopped reading: the macro's write gives up after the
    // write time-out, the stall shows once in the status bar, typed keys
    // do not wait, and the first write that goes through clears it.
    void aDeviceThatTakesNothingDoesNotFreezeTheWindow()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path(), "Baudrate=115.2k\n");
        auto w = ShowWindow();
        SerialPort().SetWriteTimeout(200);
        const auto restore = qScopeGuard([] { SerialPort().SetWriteTimeout(TMcuComPort::kWriteTimeoutMs); });
        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        const QString stalled = "The device " + peer.Path() + " does not take data.";
        w->DeviceControl().MacroBox()->setEditText(QString(1 << 18, QChar('x')));
        QElapsedTimer timer;
        timer.start();
        w->RunCommand("SendMacroBtnClick");
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(w->StatusText(6), stalled);

        w->SetStatusText(6, QString());
        timer.restart();
        w->DeviceControl().Console()->setFocus();
        QTest::keyClick(w->DeviceControl().Console(), Qt::Key_Z);
        QVERIFY(timer.elapsed() < 150);
        QCOMPARE(w->StatusText(6), QString()); // reported once, not on every key

        w->SetStatusText(6, stalled);
        while (!peer.ReadAvailable().isEmpty()) { } // the module reads again
        QTest::keyClick(w->DeviceControl().Console(), Qt::Key_Z);
        QCOMPARE(peer.Read(1), QByteArray("z"));
        QCOMPARE(w->StatusText(6), QString());
    }

    void settingsReachTheDevice()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path());
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        // Someone else sets the device; OK without a change applies nothing.
        termios t = peer.Attributes();
        cfsetospeed(&t, B600);
        QCOMPARE(::tcsetattr(peer.TerminalFd(), TCSANOW, &t), 0);
        {
            TMcuPreferences dlg(m_app->LinkSettings(), w.get());
            dlg.show();
            dlg.OkBtnClick();
        }
        w->DeviceControl().ApplySettings();
        t = peer.Attributes();
        QCOMPARE(cfgetospeed(&t), speed_t(B600));

        {
            TMcuPreferences dlg(m_app->LinkSettings(), w.get());
            dlg.show();
            dlg.Btn7E2->click();
            dlg.OkBtnClick();
        }
        w->DeviceControl().ApplySettings();
        QCOMPARE(SerialPort().Databits(), db7);
        QCOMPARE(SerialPort().Parity(), paEVEN);
        QCOMPARE(SerialPort().StopBits(), sb20);
        t = peer.Attributes();
        QCOMPARE(cfgetospeed(&t), speed_t(B9600)); // the whole setting went to the device
        QVERIFY(t.c_cflag & CSTOPB);
        QCOMPARE(w->StatusText(3), peer.Path() + " 9600,7,E,2");
    }

    void aVanishingDeviceCanBeDisconnectedAndReconnected()
    {
        const QString link = dir->filePath("module");
        auto first = std::make_unique<TPtyPeer>();
        first->CloseTerminal();
        QVERIFY(QFile::link(first->Path(), link));
        WriteSettings(link);
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        first->Hangup();
        QTRY_VERIFY(!SerialPort().Open()); // the connection ended by itself
        w->DeviceControl().Console()->setFocus();
        QTest::keyClick(w->DeviceControl().Console(), Qt::Key_A); // goes nowhere, harms nothing
        w->RunCommand("DisconnectMenuClick");
        QVERIFY(!SerialPort().Open());

        TPtyPeer second;
        second.CloseTerminal();
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(second.Path(), link));
        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        second.Write("again");
        QTRY_VERIFY(ConsoleText(*w).endsWith("again"));
    }

    // Told once, the connection ends, and the same device under the same
    // name is connected again with the same settings.
    void aVanishedDeviceIsReportedAndConnectedAgainWhenItIsBack()
    {
        const QString link = dir->filePath("module");
        auto first = std::make_unique<TPtyPeer>();
        first->CloseTerminal();
        QVERIFY(QFile::link(first->Path(), link));
        WriteSettings(link, "Baudrate=19200\n");
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        first->Hangup();
        QTRY_VERIFY(!SerialPort().Open());
        QTRY_COMPARE(messages.size(), 1);
        QCOMPARE(messages.first(),
                 "The serial device went away! | The connection to " + link +
                     " has ended: the device is no longer there. When it is back, it is "
                     "connected again with the same settings.");
        QVERIFY(Enabled(*w, "ConnectMenu", "ConnectBtn"));
        QVERIFY(!w->ToolButton("DisconnectBtn")->isEnabled());
        QCOMPARE(w->StatusText(3), link + " went away");
        first.reset();
        QVERIFY(QFile::remove(link)); // as a device node goes when an adapter is pulled out
        QTest::qWait(3 * TDeviceReturn::kPollMs);
        QVERIFY(!SerialPort().Open());

        TPtyPeer second;
        second.CloseTerminal();
        QVERIFY(QFile::link(second.Path(), link));
        QTRY_VERIFY(SerialPort().Open());
        QCOMPARE(w->StatusText(3), link + " 19200,8,N,1");
        QVERIFY(ConsoleText(*w).contains("[" + link + " is back: connected again]"));
        QVERIFY(w->ToolButton("DisconnectBtn")->isEnabled());
        second.Write("again");
        QTRY_VERIFY(ConsoleText(*w).endsWith("again"));
        QCOMPARE(messages.size(), 1);
    }

    void recordingTheConsole()
    {
        TPtyPeer peer;
        WriteSettings(peer.Path());
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        const QString log = dir->filePath("Session.log");
        w->logFileAnswer = log;
        w->RunCommand("ConsoleLoggingMenuClick");
        QVERIFY(w->DeviceControl().Console()->Logging());
        QCOMPARE(w->StatusText(6), log);
        emit w->Menu("ConsolePopupMenu")->aboutToShow();
        QVERIFY(w->MenuItem("ConsoleLoggingItem")->isChecked());
        peer.Write("recorded line");
        QTRY_VERIFY(ConsoleText(*w).endsWith("recorded line"));
        answer = mrNo;
        w->RunCommand("ConsoleLoggingMenuClick");
        QVERIFY(!w->DeviceControl().Console()->Logging());
        QCOMPARE(w->StatusText(6), QString());
        QCOMPARE(messages, QStringList({"Logging finished. | Do you want to open the recorded logfile now?"}));
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("recorded line"));

        w->logFileAnswer = dir->filePath("no/folder/x.log");
        w->RunCommand("ConsoleLoggingMenuClick");
        QVERIFY(!w->DeviceControl().Console()->Logging());
        QCOMPARE(w->StatusText(6), QString());
        QCOMPARE(messages.last(),
                 QString("Can't open the selected file. | Please check, if the file is already in use."));
    }

    // Every write fails: the first failure shows at once in the status bar,
    // the stop reports it instead of "Logging finished", and quitting while
    // recording reports it before the window closes.
    void aFailingLogIsReportedAtOnceAndAtTheStop_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("stopped_from_the_menu") << false;
        QTest::newRow("stopped_by_quitting") << true;
    }
    void aFailingLogIsReportedAtOnceAndAtTheStop()
    {
        QFETCH(bool, quit);
        if (!QFile::exists("/dev/full"))
            QSKIP("no /dev/full");
        QStringList errors;
        m_app->DialogHooks().errorReporter = [&errors](const QString &error) { errors << error; };
        auto w = ShowWindow();
        w->logFileAnswer = "/dev/full";
        w->RunCommand("ConsoleLoggingMenuClick");
        QVERIFY(w->DeviceControl().Console()->Logging());
        QVERIFY2(w->StatusText(6).startsWith("Unable to write to /dev/full: "), qPrintable(w->StatusText(6)));
        answer = mrNo;
        if (quit)
            QVERIFY(w->close());
        else
            w->RunCommand("ConsoleLoggingMenuClick");
        m_app->DialogHooks().errorReporter = {};
        QVERIFY(!w->DeviceControl().Console()->Logging());
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("Unable to write to /dev/full: "), qPrintable(errors[0]));
        QVERIFY(!messages.join('\n').contains("Logging finished."));
    }

    void clearOutputClearsTheConsole()
    {
        auto w = ShowWindow();
        w->DeviceControl().Console()->WriteText("some text");
        w->OutputTabs()->setCurrentIndex(TMainWindow::OutputConsoleTab);
        w->RunCommand("ClearBtnClick");
        QCOMPARE(ConsoleText(*w), QString());
    }

    // The simulated module answers the reset command with "OK" at 9600 bit/s.
    void talksToTheSimulatedModule()
    {
        const QString velsim = qEnvironmentVariable("VELMO_BIN_DIR") + "/velsim";
        QVERIFY2(QFile::exists(velsim), qPrintable("velsim is not built: " + velsim));
        const QString link = dir->filePath("velsim");
        QProcess sim;
        sim.start(velsim, {"--pty", "--link", link});
        QVERIFY(sim.waitForStarted());
        QTRY_VERIFY(QFileInfo(link).isSymLink());
        WriteSettings(link, "[Macros]\nMacro0=#1#48#129#27\n");
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        w->RunCommand("SendMacroBtnClick");
        QTRY_VERIFY(ConsoleText(*w).contains("OK"));
        w->RunCommand("DisconnectMenuClick");
        sim.terminate();
        QVERIFY(sim.waitForFinished());
    }

    // The module killed while connected, then started again on the same link.
    void aSimulatedModuleThatEndsIsReportedAndConnectedAgain()
    {
        const QString velsim = qEnvironmentVariable("VELMO_BIN_DIR") + "/velsim";
        QVERIFY2(QFile::exists(velsim), qPrintable("velsim is not built: " + velsim));
        const QString link = dir->filePath("velsim");
        auto sim = std::make_unique<QProcess>();
        sim->start(velsim, {"--pty", "--link", link});
        QVERIFY(sim->waitForStarted());
        QTRY_VERIFY(QFileInfo::exists(link));
        WriteSettings(link, "[Macros]\nMacro0=#1#48#129#27\n");
        auto w = ShowWindow();
        w->RunCommand("ConnectMenuClick");
        QVERIFY(SerialPort().Open());
        sim->kill();
        QVERIFY(sim->waitForFinished());
        QTRY_VERIFY(!SerialPort().Open());
        QTRY_COMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith("The serial device went away! | The connection to " + link));
        QTRY_VERIFY(!QFileInfo::exists(link)); // the link leads nowhere

        sim = std::make_unique<QProcess>();
        sim->start(velsim, {"--pty", "--link", link});
        QVERIFY(sim->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(SerialPort().Open(), 10000);
        QVERIFY(ConsoleText(*w).contains("is back: connected again"));
        w->RunCommand("SendMacroBtnClick");
        QTRY_VERIFY(ConsoleText(*w).contains("OK"));
        w->RunCommand("DisconnectMenuClick");
        sim->terminate();
        QVERIFY(sim->waitForFinished());
    }
};

WORKBENCH_TEST_MAIN(TestDeviceMainWindow)
#include "test_device_mainwindow.moc"
