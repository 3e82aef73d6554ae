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

    void offersTheComPortsAndTheSystemsDevices()
    {
        TMcuPreferences dlg(settings);
        QStringList items;
        for (int i = 0; i < dlg.COMBox->count(); ++i)
            items << dlg.COMBox->itemText(i);
        QCOMPARE(items.size(), 12);
        QCOMPARE(items.first(), QString("COM1"));
        QCOMPARE(items[10], QString("Simulated module"));
        QCOMPARE(items.last(), QString("/dev/ttyUSB0"));
        QVERIFY(dlg.COMBox->isEditable());
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
