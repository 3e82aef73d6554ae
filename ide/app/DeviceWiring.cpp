// The serial link in the main window: the receive dispatcher between the
// port and the console, the preferences and how they are applied, connect
// and disconnect, the macro box and its Send button, the console's keys and
// its recording.
#include "ErrorReporter.h"
#include "Escapes.h"
#include "Globals.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "PortSettings.h"
#include "Preferences.h"
#include "Receive.h"
#include "Serial.h"
#include "Terminal.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QTabBar>
#include <QTimer>

namespace {

// Guards against a second macro send while one waits in a delay (the delay
// keeps handling window messages, so the Send button still works).
bool MacroSending = false;

const QString kLogFilter = QStringLiteral("Logfiles (*.log);;All Files (*.*)");

// The macro box: Enter sends, and the Down key on the last entry does nothing.
class TMacroBoxKeys : public QObject {
public:
    TMacroBoxKeys(QComboBox *box, std::function<void()> send)
        : QObject(box)
        , m_box(box)
        , m_send(std::move(send))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Down && m_box->currentIndex() == m_box->count() - 1)
            return true;
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_send();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QComboBox *m_box;
    std::function<void()> m_send;
};

// Waits while the window keeps handling its messages.
void WaitHandlingMessages(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

void TMainWindow::CreateDeviceLink()
{
    TMcuComPort &port = SerialPort();
    port.OnWarning = [](const QString &message, const QString &detail) {
        ShowMessageDlg(mkWarning, message, detail, false);
    };
    // Until the preferences are applied: local echo, and Enter sends CR LF.
    Console->Echo = true;
    Console->CRLFOut = true;
    Console->OnKey = [](TMcuConsole *, char key) { SerialPort().WriteString(QByteArray(1, key)); };
    // The recording's first failed write, at once; the stop reports it again.
    Console->OnLogFailed = [this](TMcuConsole *, const QString &error) { SetStatusText(6, error); };

    Receiver = new TMcuComRecv;
    Receiver->SetPort(&port);
    Receiver->OnText = [this](TMcuComRecv *, const QByteArray &text) { Console->WriteText(text); };
    // The samples ("#", channel, number) go to the scope.
    Receiver->OnValue = [this](TMcuComRecv *, quint8 channel, float value) { ReceivedSample(channel, value); };

    connect(Menu("ConsolePopupMenu"), &QMenu::aboutToShow, this, &TMainWindow::ConsolePopupMenuPopup);
    auto *keys = new TMacroBoxKeys(MacroBox, [this] { RunCommand("SendMacroBtnClick"); });
    MacroBox->installEventFilter(keys);
    MacroBox->lineEdit()->installEventFilter(keys);
    connect(MacroBox, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { ToolButton("SendMacroBtn")->setEnabled(!text.isEmpty()); });
    ApplyEnabled(ConnectionStates(false), false);

    m_commands.Bind("SettingsMenuClick", [this] { SettingsMenuClick(); });
    m_commands.Bind("ConnectMenuClick", [this] { ConnectMenuClick(); });
    m_commands.Bind("DisconnectMenuClick", [this] { DisconnectMenuClick(); });
    m_commands.Bind("SendMacroBtnClick", [this] { SendMacroBtnClick(); });
    m_commands.Bind("ConsoleLoggingMenuClick", [this] { ConsoleLoggingMenuClick(); });
}

void TMainWindow::DestroyDeviceLink()
{
    delete Receiver;
    Receiver = nullptr;
    SerialPort().OnWarning = nullptr;
}

bool TMainWindow::PortIsOpen() const
{
    return SerialPort().Open();
}

// ---------------------------------------------------------------------------
// Preferences

void TMainWindow::ApplySettings()
{
    if (SettingsNotPrepared) {
        SettingsNotPrepared = false;
        Settings::PrepareAppRoot(SettingsFileName(), ProgramDir);
        {
            const TMcuPreferences load(this); // reads the settings file into the records
        }
        PortSettings.Changed = true;
        TerminalSettings.Changed = true;
    }
    if (PortSettings.Changed)
        ApplyPortSettings();
    if (TerminalSettings.Changed)
        ApplyTerminalSettings();
    UpdatePortStatus();
}

void TMainWindow::ApplyPortSettings()
{
    TMcuComPort &port = SerialPort();
    port.SetParity(PortSettings.Line.Parity);
    port.SetComPort(PortSettings.ComPort);
    port.SetBaudrate(PortSettings.Line.Baudrate);
    port.SetDatabits(PortSettings.Line.Databits);
    port.SetStopBits(PortSettings.Line.StopBits);
}

void TMainWindow::ApplyTerminalSettings()
{
    Console->SetHexMode(TerminalSettings.HexMode);
    Console->Echo = TerminalSettings.Echo;
    Console->SetCRLFIn(TerminalSettings.CRLFIn);
    Console->CRLFOut = TerminalSettings.CRLFOut;
    MacroBox->clear();
    MacroBox->addItems(TerminalSettings.Macros);
    MacroBox->setCurrentIndex(TerminalSettings.Macros.isEmpty() ? -1 : 0);
    ToolButton("SendMacroBtn")->setEnabled(!MacroBox->currentText().isEmpty());
}

void TMainWindow::UpdatePortStatus()
{
    const TMcuComPort &port = SerialPort();
    const TLineSettings line = TLineSettings::Unpack(port.LineSettings());
    SetStatusText(3, port.Open() ? LineSettings::StatusText(port.ComPort(), line) : QString());
    SetStatusText(4, Console->Echo ? tr("Echo") : QString());
    SetStatusText(5, Console->HexMode() ? tr("HEX") : tr("ASCII"));
}

void TMainWindow::SettingsMenuClick()
{
    TMcuPreferences preferences(this);
    preferences.Pages->setCurrentIndex(0);
    if (preferences.exec() == QDialog::Accepted)
        ApplySettings();
}

// ---------------------------------------------------------------------------
// Connect and disconnect

void TMainWindow::ConnectMenuClick()
{
    TMcuComPort &port = SerialPort();
    if (port.Open())
        return;
    if (port.OpenPort(false)) {
        ShowConnected();
        if (OutputTabs->currentIndex() != OutputScopeTab)
            OutputTabs->setCurrentIndex(OutputConsoleTab);
    } else {
        port.ClosePort(); // takes back the request of the failed open
        UpdatePortStatus();
    }
}

// The commands and status panels of a connected terminal.
void TMainWindow::ShowConnected()
{
    ApplyEnabled(ConnectionStates(true), false);
    ApplyEnabled(ConnectionStates(true), true);
    UpdatePortStatus();
}

void TMainWindow::DisconnectMenuClick()
{
    ApplyEnabled(ConnectionStates(false), false);
    ApplyEnabled(ConnectionStates(false), true);
    SerialPort().ClosePort();
    UpdatePortStatus();
}

// ---------------------------------------------------------------------------
// Macros

void TMainWindow::SendMacroBtnClick()
{
    if (MacroSending)
        return;
    MacroSending = true;
    const auto done = qScopeGuard([] { MacroSending = false; });
    for (const TMacroStep &step : SplitMacro(DecodeEscapes(MacroBox->currentText()))) {
        SendMacroText(step.text);
        if (step.delayMs > 0)
            WaitHandlingMessages(step.delayMs);
    }
}

void TMainWindow::SendMacroText(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    SerialPort().WriteString(bytes); // nothing is sent while the port is closed
    if (Console->Echo)
        Console->WriteText(bytes);
}

// ---------------------------------------------------------------------------
// Console recording

void TMainWindow::ConsolePopupMenuPopup()
{
    MenuItem("ConsoleLoggingItem")->setChecked(Console->Logging());
}

void TMainWindow::ConsoleLoggingMenuClick()
{
    if (Console->Logging()) {
        SetStatusText(6, QString());
        if (!RunGuarded([this] { Console->SetLogging(false); }))
            return; // a write error since the start is reported, not "finished"
        if (ShowMessageDlg(mkConfirmation, tr("Logging finished."), tr("Do you want to open the recorded logfile now?"),
                           false) == mrYes)
            OpenFile(Console->LogFileName());
        return;
    }
    const QString name = AskLogFileName(Console->LogFileName());
    if (name.isEmpty())
        return;
    SetStatusText(6, name); // before the start line, whose failed write replaces it
    Console->SetLogFile(name);
    if (!Console->Logging())
        SetStatusText(6, QString());
}

QString TMainWindow::AskLogFileName(const QString &last)
{
    QFileDialog dialog(this, tr("Enter or select a logfile..."), QString(), kLogFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // a log is appended to
    dialog.setDefaultSuffix("log");
    if (!last.isEmpty())
        dialog.selectFile(last);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
