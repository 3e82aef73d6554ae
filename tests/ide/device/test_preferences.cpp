// The settings dialog offscreen: loading the settings file (garbage
// included), the changed marks, OK with and without a change, the 8N1 and
// 7E2 presets, a typed device path, the refused store, and the macro list
// with its editor.

#include "../support/TestFiles.h"
#include "../support/TestPaths.h"
#include "DialogHooks.h"
#include "Globals.h"
#include "IniFile.h"
#include "MacroEdit.h"
#include "MsgDlg.h"
#include "Preferences.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestPreferences : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

private:
    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TTestPaths> paths;
    TLinkSettings settings;
    QStringList messages;

    QString SettingsPath() const
    {
        return dir->filePath("Korvid.ini");
    }
    QByteArray SettingsText() const
    {
        QFile file(SettingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static QStringList Macros(const TMcuPreferences &dlg)
    {
        QStringList items;
        for (int i = 0; i < dlg.MacroList->count(); ++i)
            items << dlg.MacroList->item(i)->text();
        return items;
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        paths = std::make_unique<TTestPaths>(dir->path(), SettingsPath(), dir->filePath("layout.ini"));
        settings = TLinkSettings();
        settings.OfferedDevices = [] { return QStringList({"/dev/ttyUSB0", "COM3"}); };
        messages.clear();
        m_hooks.messageDlg = [this](int, const QString &message, const QString &help, bool) {
            messages << message + " " + help;
            return int(mrOk);
        };
    }

    void cleanup()
    {
        m_hooks.messageDlg = nullptr;
        paths.reset();
        delete dir;
    }

    void loadsTheSettingsFileIntoControlsAndRecords_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("line"); // baud, data bits, parity, stop bits as the records hold them
        QTest::addColumn<bool>("hex");
        QTest::newRow("none") << QByteArray() << "Simulated module"
                              << "5 8 0 0" << false;
        QTest::newRow("stored") << QByteArray("[COM-Device]\nPort=com4\nBaudrate=115.2K\nDatabits=7\nStopbits=2\n"
                                              "Parity=EVEN\n[Terminal]\nEmulation=hex\n")
                                << "COM4"
                                << "9 7 2 2" << true;
        QTest::newRow("garbage") << QByteArray("[COM-Device]\nPort=LPT1\nBaudrate=fast\nDatabits=x\nStopbits=\x01\n"
                                               "Parity=?\n[Terminal]\nEmulation=VT100\n")
                                 << "COM1"
                                 << "0 7 0 0" << false;
        QTest::newRow("device_path_kept") << QByteArray("[COM-Device]\nPort=/tmp/velsim-link\n") << "/tmp/velsim-link"
                                          << "5 8 0 0" << false;
    }

    void loadsTheSettingsFileIntoControlsAndRecords()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, port);
        QFETCH(QString, line);
        QFETCH(bool, hex);
        if (!ini.isEmpty())
            WriteTestFile(SettingsPath(), ini);
        TMcuPreferences dlg(settings);
        QCOMPARE(dlg.COMBox->currentText(), port);
        QCOMPARE(settings.Port.ComPort, port);
        const TLineSettings &l = settings.Port.Line;
        QCOMPARE(QString("%1 %2 %3 %4").arg(l.Baudrate).arg(l.Databits + 4).arg(l.Parity).arg(l.StopBits), line);
        QCOMPARE(settings.Terminal.HexMode, hex);
        QVERIFY(!settings.Port.Changed);
        QVERIFY(!settings.Terminal.Changed);
        QVERIFY(!dlg.Modified());
    }

    // A folder standing for /dev (files named as devices, by-id links) and
    // one for /sys/class/tty (the ttyS ports' UART types).
    void MakeDevices(const QStringList &names, const QStringList &links)
    {
        for (const QString &name : names) {
            const QStringList parts = name.split('=');
            WriteTestFile(DevPath(parts[0]), "");
            if (parts.size() > 1)
                WriteTestFile(dir->filePath("sys/" + parts[0] + "/type"), parts[1].toLatin1() + "\n");
        }
        QDir().mkpath(DevPath("serial/by-id"));
        for (const QString &link : links) {
            const QStringList parts = link.split("->");
            QVERIFY(QFile::link("../../" + parts[1], DevPath("serial/by-id/" + parts[0])));
        }
        settings.OfferedDevices = nullptr;
        settings.Folders = TDeviceFolders{dir->filePath("dev"), dir->filePath("sys")};
    }
    QString DevPath(const QString &name) const
    {
        return dir->filePath("dev/" + name);
    }
    static QStringList Items(const TMcuPreferences &dlg)
    {
        QStringList items;
        for (int i = 0; i < dlg.COMBox->count(); ++i)
            items << dlg.COMBox->itemText(i);
        return items;
    }

    void offersTheDevicesThatExistAndSelectsTheChoice_data()
    {
        QTest::addColumn<QStringList>("devices"); // "name" or "ttySn=type"
        QTest::addColumn<QStringList>("links"); // "by-id name->device"
        QTest::addColumn<QString>("stored"); // %1 is the folder standing for /dev
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("current");
        const QStringList adapters = {"ttyUSB0", "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0=0", "ttyS1=4",
                                      "tty0",    "console",  "null",    "ttyUSB",  "ttyS2"};
        const QStringList listed = {"%1/ttyACM0",
                                    "%1/ttyS1",
                                    "%1/ttyUSB0",
                                    "%1/ttyUSB2",
                                    "%1/serial/by-id/usb-Maker_Adapter_A1-if00-port0",
                                    "%1/ttyUSB10",
                                    "Simulated module"};
        QTest::newRow("adapters_and_a_uart")
            << adapters << QStringList({"usb-Maker_Adapter_A1-if00-port0->ttyUSB2"}) << "%1/ttyUSB2" << listed << 3;
        QTest::newRow("chosen_by_id") << adapters << QStringList({"usb-Maker_Adapter_A1-if00-port0->ttyUSB2"})
                                      << "%1/serial/by-id/usb-Maker_Adapter_A1-if00-port0" << listed << 4;
        QTest::newRow("first_start") << QStringList() << QStringList() << QString() << QStringList({"Simulated module"})
                                     << 0;
        QTest::newRow("stored_com_port") << QStringList({"ttyACM0"}) << QStringList() << "com4"
                                         << QStringList({"%1/ttyACM0", "Simulated module", "COM4"}) << 2;
        QTest::newRow("typed_path_of_no_device")
            << QStringList({"ttyACM0"}) << QStringList() << "/tmp/velsim-link"
            << QStringList({"%1/ttyACM0", "Simulated module", "/tmp/velsim-link"}) << 2;
    }

    void offersTheDevicesThatExistAndSelectsTheChoice()
    {
        QFETCH(QStringList, devices);
        QFETCH(QStringList, links);
        QFETCH(QString, stored);
        QFETCH(QStringList, items);
        QFETCH(int, current);
        MakeDevices(devices, links);
        const QString dev = dir->filePath("dev");
        if (!stored.isEmpty())
            WriteTestFile(SettingsPath(), "[COM-Device]\r\nPort=" + stored.arg(dev).toUtf8() + "\r\n");
        TMcuPreferences dlg(settings);
        for (QString &item : items)
            item = item.arg(dev);
        QCOMPARE(Items(dlg), items);
        QCOMPARE(dlg.COMBox->currentIndex(), current);
        QCOMPARE(dlg.COMBox->currentText(), items[current]);
        QVERIFY(dlg.COMBox->isEditable());
    }

    void anAdapterPluggedInWhileOpenIsOfferedAndTheChoiceStays()
    {
        MakeDevices({"ttyACM0"}, {});
        WriteTestFile(SettingsPath(), "[COM-Device]\r\nPort=" + DevPath("ttyACM0").toUtf8() + "\r\n");
        TMcuPreferences dlg(settings);
        dlg.show();
        QCOMPARE(dlg.COMBox->findText(DevPath("ttyUSB0")), -1);
        WriteTestFile(DevPath("ttyUSB0"), "");
        QVERIFY(QFile::link("../../ttyUSB0", DevPath("serial/by-id/usb-Maker_Adapter_B2-if00-port0")));
        QTRY_VERIFY(dlg.COMBox->findText(DevPath("serial/by-id/usb-Maker_Adapter_B2-if00-port0")) >= 0);
        QVERIFY(dlg.COMBox->findText(DevPath("ttyUSB0")) >= 0);
        QCOMPARE(dlg.COMBox->currentText(), DevPath("ttyACM0"));
        QVERIFY(QFile::remove(DevPath("ttyACM0"))); // unplugged: still the choice, as an item of its own
        QTRY_COMPARE(Items(dlg).last(), DevPath("ttyACM0"));
        QCOMPARE(Items(dlg).size(), 4);
        QCOMPARE(dlg.COMBox->currentText(), DevPath("ttyACM0"));
        QVERIFY(!dlg.Modified());
    }

    void choosingTheSimulatedModuleStoresItsName()
    {
        WriteTestFile(SettingsPath(), "[COM-Device]\r\nPort=COM2\r\n");
        TMcuPreferences dlg(settings);
        dlg.show();
        const int index = dlg.COMBox->findText("Simulated module");
        QVERIFY(index >= 0);
        dlg.COMBox->setCurrentIndex(index);
        emit dlg.COMBox->activated(index);
        dlg.OkBtnClick();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(settings.Port.ComPort, QString("Simulated module"));
        QVERIFY(SettingsText().contains("Port=Simulated module"));
        QCOMPARE(TMcuPreferences(settings).COMBox->currentText(), QString("Simulated module"));
    }

    void okWithoutChangeWritesAndMarksNothing()
    {
        WriteTestFile(SettingsPath(), "[COM-Device]\r\nPort=COM2\r\n");
        const QByteArray before = SettingsText();
        TMcuPreferences dlg(settings);
        dlg.show();
        dlg.OkBtnClick();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(SettingsText(), before);
        QVERIFY(!settings.Port.Changed);
        QVERIFY(!settings.Terminal.Changed);
    }

    void presetsMarkThePortChangedAndAreSaved_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("line");
        QTest::newRow("7E2") << "Btn7E2"
                             << "7 even 2";
        QTest::newRow("8N1") << "Btn8N1"
                             << "8 none 1";
    }

    void presetsMarkThePortChangedAndAreSaved()
    {
        QFETCH(QString, button);
        QFETCH(QString, line);
        WriteTestFile(SettingsPath(), "[COM-Device]\nDatabits=7\nParity=odd\nStopbits=2\n");
        TMcuPreferences dlg(settings);
        dlg.show();
        dlg.findChild<QPushButton *>(button)->click();
        QVERIFY(dlg.Modified());
        QVERIFY(settings.Port.Changed);
        QVERIFY(!settings.Terminal.Changed);
        dlg.OkBtnClick();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const TIniFile ini(SettingsPath());
        const TComDeviceState saved = Settings::ReadComDevice(ini);
        QCOMPARE(saved.databits + " " + saved.parity + " " + saved.stopbits, line);
        if (button == "Btn7E2") {
            QCOMPARE(settings.Port.Line.Databits, db7);
            QCOMPARE(settings.Port.Line.Parity, paEVEN);
            QCOMPARE(settings.Port.Line.StopBits, sb20);
        }
    }

    void aTypedDevicePathIsStoredAsTyped()
    {
        TMcuPreferences dlg(settings);
        dlg.show();
        dlg.COMBox->setFocus();
        dlg.COMBox->lineEdit()->selectAll();
        QTest::keyClicks(dlg.COMBox->lineEdit(), "/tmp/MyModule");
        QVERIFY(settings.Port.Changed);
        dlg.OkBtnClick();
        QCOMPARE(settings.Port.ComPort, QString("/tmp/MyModule"));
        QVERIFY(SettingsText().contains("Port=/tmp/MyModule"));
    }

    void anEmptyDeviceIsRefusedAndTheDialogStaysOpen()
    {
        TMcuPreferences dlg(settings);
        dlg.show();
        dlg.COMBox->lineEdit()->clear();
        QTest::keyClicks(dlg.COMBox->lineEdit(), " ");
        dlg.OkBtnClick();
        QCOMPARE(messages, QStringList({"Incorrect settings! Please check all parameters."}));
        QVERIFY(dlg.isVisible());
        QCOMPARE(SettingsText(), QByteArray("<missing>"));
    }

    void terminalOptionsMarkTheTerminalChanged()
    {
        TMcuPreferences dlg(settings);
        dlg.show();
        dlg.EmulationBox->Click(1);
        dlg.EchoBox->click();
        dlg.CROutBox->click();
        QVERIFY(settings.Terminal.Changed);
        QVERIFY(!settings.Port.Changed);
        dlg.OkBtnClick();
        QVERIFY(settings.Terminal.HexMode);
        QVERIFY(settings.Terminal.Echo);
        QVERIFY(settings.Terminal.CRLFOut);
        QVERIFY(!settings.Terminal.CRLFIn);
        const TTerminalState saved = Settings::ReadTerminal(TIniFile(SettingsPath()));
        QCOMPARE(saved.emulation, QString("HEX"));
        QVERIFY(saved.echo && saved.crlfOut && !saved.crlfIn);
    }

    void editsTheMacroList()
    {
        WriteTestFile(SettingsPath(), "[Macros]\nMacro0=one\nMacro1=two\nMacro2=three\n");
        TMcuPreferences dlg(settings);
        QStringList answers = {"added", ""};
        dlg.EditMacro = [&](QWidget *, QString &text) {
            const QString answer = answers.takeFirst();
            if (answer.isEmpty())
                return false; // cancelled
            text = answer;
            return true;
        };
        dlg.show();
        QVERIFY(!dlg.EditMacroBtn->isEnabled());
        dlg.MacroList->setCurrentRow(0);
        QVERIFY(dlg.EditMacroBtn->isEnabled() && dlg.DeleteMacroBtn->isEnabled());
        QVERIFY(!dlg.MacroUpBtn->isEnabled() && dlg.MacroDownBtn->isEnabled());
        dlg.MacroDownBtn->click();
        QCOMPARE(Macros(dlg), QStringList({"two", "one", "three"}));
        QCOMPARE(dlg.MacroList->currentRow(), 1);
        QVERIFY(settings.Terminal.Changed);
        dlg.AddMacroBtn->click();
        dlg.EditMacroBtn->click(); // cancelled: nothing changes
        QCOMPARE(Macros(dlg), QStringList({"two", "one", "three", "added"}));
        dlg.MacroList->setCurrentRow(3);
        QVERIFY(!dlg.MacroDownBtn->isEnabled());
        dlg.DeleteMacroBtn->click();
        dlg.MacroList->setCurrentRow(0);
        dlg.DeleteMacroBtn->click();
        QCOMPARE(Macros(dlg), QStringList({"one", "three"}));
        dlg.OkBtnClick();
        QCOMPARE(Settings::ReadMacros(TIniFile(SettingsPath())), QStringList({"one", "three"}));
        QCOMPARE(settings.Terminal.Macros, QStringList({"one", "three"}));
    }

    void macroEditorNeedsAText()
    {
        TMcuMacroEdit editor;
        QVERIFY(!editor.OkBtn->isEnabled());
        QTest::keyClicks(editor.MacroEdit, "#27T20");
        QVERIFY(editor.OkBtn->isEnabled());
        QCOMPARE(editor.Text(), QString("#27T20")); // kept as typed
        editor.MacroEdit->clear();
        QVERIFY(!editor.OkBtn->isEnabled());
    }
};

QTEST_MAIN(TestPreferences)
#include "test_preferences.moc"
