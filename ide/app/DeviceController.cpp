#include "DeviceController.h"

#include "AppState.h"
#include "DeviceReturn.h"
#include "ErrorReporter.h"
#include "Escapes.h"
#include "LazyView.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "PortSettings.h"
#include "Preferences.h"
#include "Receive.h"
#include "ScopeController.h"
#include "Serial.h"
#include "SimulatedModule.h"
#include "Terminal.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <utility>

namespace {

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

TDeviceController::TDeviceController(TMainWindow &window, TAppState &app)
    : m_window(window)
    , m_app(app)
    , m_return(std::make_unique<TDeviceReturn>())
{
    // Until the preferences are applied: local echo, and Enter sends CR LF.
    m_consoleSettings.Echo = true;
    m_consoleSettings.CRLFOut = true;
}

TDeviceController::~TDeviceController() = default;

QComboBox *TDeviceController::CreateMacroBox(QToolBar *bar)
{
    m_macroBox = new QComboBox(bar);
    m_macroBox->setObjectName("MacroBox");
    m_macroBox->setEditable(true);
    m_macroBox->setMinimumWidth(160);
    m_macroBox->setInsertPolicy(QComboBox::NoInsert);
    bar->addWidget(m_macroBox);
    return m_macroBox;
}

QWidget *TDeviceController::CreateConsole(QStackedWidget *views, TCommandRegistry &commands)
{
    m_consoleView =
        std::make_unique<TLazyView>(views, "Console", [this](QWidget *parent) { return MakeConsole(parent); });
    for (const char *name : {"ConsoleCopyMenuClick", "ConsoleSaveTextMenuClick"})
        commands.Bind(name, [this, name] {
            Console();
            m_consoleCommands.Run(name);
        });
    return m_consoleView->Place();
}

QWidget *TDeviceController::ConsoleView() const
{
    return m_consoleView->Place();
}

TMcuConsole *TDeviceController::Console()
{
    m_consoleView->View();
    return m_console;
}

TMcuConsole *TDeviceController::MakeConsole(QWidget *parent)
{
    m_console = new TMcuConsole(parent);
    m_console->setObjectName("Console");
    m_console->RegisterCommands(m_consoleCommands);
    m_console->OnKey = [this](TMcuConsole *, char key) { Send(QByteArray(1, key)); };
    // The recording's first failed write, at once; the stop reports it again.
    m_console->OnLogFailed = [this](TMcuConsole *, const QString &error) { m_window.SetStatusText(6, error); };
    m_console->OnLineDoubleClicked = [this](TMcuConsole *, const QString &line) { ConsoleLineDoubleClicked(line); };
    m_window.AttachPopup(m_console, m_window.Menu("ConsolePopupMenu"));
    ApplyConsoleSettings();
    return m_console;
}

void TDeviceController::CreateLink(TCommandRegistry &commands)
{
    TMcuComPort &port = SerialPort();
    port.OnWarning = [](const QString &message, const QString &detail) {
        ShowMessageDlg(mkWarning, message, detail, false);
    };
    m_receiver = std::make_unique<TMcuComRecv>();
    m_receiver->SetPort(&port);
    m_receiver->OnText = [this](TMcuComRecv *, const QByteArray &text) { Received(text); };
    // The samples ("#", channel, number) go to the scope.
    m_receiver->OnValue = [this](TMcuComRecv *, quint8 channel, float value) {
        m_window.ScopeControl().ReceivedSample(channel, value);
    };
    // Reported after the event that told it, not from within its delivery.
    port.OnError = [this](TMcuComPort *sender) {
        if (sender->DeviceGone())
            QTimer::singleShot(0, &m_window, [this] { DeviceGone(); });
    };
    m_return->SetFolders(m_app.LinkSettings().Folders);
    m_return->OnBack = [this](const QString &path) { DeviceBack(path); };

    QObject::connect(m_window.Menu("ConsolePopupMenu"), &QMenu::aboutToShow, &m_window,
                     [this] { ConsolePopupMenuPopup(); });
    auto *keys = new TMacroBoxKeys(m_macroBox, [this] { m_window.RunCommand("SendMacroBtnClick"); });
    m_macroBox->installEventFilter(keys);
    m_macroBox->lineEdit()->installEventFilter(keys);
    QObject::connect(m_macroBox, &QComboBox::currentTextChanged, &m_window,
                     [this](const QString &text) { m_window.ToolButton("SendMacroBtn")->setEnabled(!text.isEmpty()); });
    m_window.ApplyEnabled(ConnectionStates(false), false);

    commands.Bind("SettingsMenuClick", [this] { SettingsMenuClick(); });
    commands.Bind("ConnectMenuClick", [this] { ConnectMenuClick(); });
    commands.Bind("DisconnectMenuClick", [this] { DisconnectMenuClick(); });
    commands.Bind("SendMacroBtnClick", [this] { SendMacroBtnClick(); });
    commands.Bind("ConsoleLoggingMenuClick", [this] { ConsoleLoggingMenuClick(); });
}

void TDeviceController::DestroyLink()
{
    m_receiver.reset();
    m_return->Stop();
    SerialPort().OnWarning = nullptr;
    SerialPort().OnError = nullptr;
}

bool TDeviceController::PortIsOpen() const
{
    return SerialPort().Open();
}

// ---------------------------------------------------------------------------
// Preferences

void TDeviceController::ApplySettings()
{
    TLinkSettings &settings = m_app.LinkSettings();
    if (m_app.TakeSettingsPreparation()) {
        Settings::PrepareAppRoot(m_app.Paths().SettingsFileName(), m_app.Paths().ProgramDir());
        PortSettingsMap::ReadRecords(TIniFile(m_app.Paths().SettingsFileName()), settings);
        settings.Port.Changed = true;
        settings.Terminal.Changed = true;
    }
    if (settings.Port.Changed)
        ApplyPortSettings();
    if (settings.Terminal.Changed)
        ApplyTerminalSettings();
    UpdatePortStatus();
}

void TDeviceController::ApplyPortSettings()
{
    const TPortSettings &settings = m_app.LinkSettings().Port;
    TMcuComPort &port = SerialPort();
    m_return->Stop(); // another device, or other settings, from now on
    port.SetParity(settings.Line.Parity);
    port.SetComPort(settings.ComPort);
    port.SetBaudrate(settings.Line.Baudrate);
    port.SetDatabits(settings.Line.Databits);
    port.SetStopBits(settings.Line.StopBits);
}

void TDeviceController::ApplyTerminalSettings()
{
    const TTerminalSettings &settings = m_app.LinkSettings().Terminal;
    m_consoleSettings = settings;
    if (m_console)
        ApplyConsoleSettings();
    m_macroBox->clear();
    m_macroBox->addItems(settings.Macros);
    m_macroBox->setCurrentIndex(settings.Macros.isEmpty() ? -1 : 0);
    m_window.ToolButton("SendMacroBtn")->setEnabled(!m_macroBox->currentText().isEmpty());
}

void TDeviceController::ApplyConsoleSettings()
{
    m_console->SetHexMode(m_consoleSettings.HexMode);
    m_console->Echo = m_consoleSettings.Echo;
    m_console->SetCRLFIn(m_consoleSettings.CRLFIn);
    m_console->CRLFOut = m_consoleSettings.CRLFOut;
}

void TDeviceController::UpdatePortStatus()
{
    const TMcuComPort &port = SerialPort();
    const TLineSettings line = TLineSettings::Unpack(port.LineSettings());
    m_window.SetStatusText(3, port.Open() ? LineSettings::StatusText(port.ComPort(), line) : QString());
    m_window.SetStatusText(4, m_consoleSettings.Echo ? QObject::tr("Echo") : QString());
    m_window.SetStatusText(5, m_consoleSettings.HexMode ? QObject::tr("HEX") : QObject::tr("ASCII"));
}

void TDeviceController::SettingsMenuClick()
{
    TMcuPreferences preferences(m_app.LinkSettings(), &m_window);
    preferences.Pages->setCurrentIndex(0);
    if (preferences.exec() == QDialog::Accepted)
        ApplySettings();
}

// ---------------------------------------------------------------------------
// Connect and disconnect

void TDeviceController::ConnectMenuClick()
{
    TMcuComPort &port = SerialPort();
    if (port.Open())
        return;
    if (port.OpenPort(false)) {
        ShowConnected();
        m_window.ShowConsoleTab();
    } else {
        port.ClosePort(); // takes back the request of the failed open
        UpdatePortStatus();
    }
}

void TDeviceController::ShowConnected()
{
    m_return->Stop();
    m_return->Remember(LineSettings::DevicePath(SerialPort().ComPort()));
    m_window.ApplyEnabled(ConnectionStates(true), false);
    m_window.ApplyEnabled(ConnectionStates(true), true);
    UpdatePortStatus();
}

void TDeviceController::DisconnectMenuClick()
{
    m_return->Stop();
    m_window.ApplyEnabled(ConnectionStates(false), false);
    m_window.ApplyEnabled(ConnectionStates(false), true);
    SerialPort().ClosePort();
    UpdatePortStatus();
}

// ---------------------------------------------------------------------------
// Runtime errors in the sources

// A runtime error the simulated module reports opens its source line, as a
// double-click on a compile error does; a real module's report waits for a
// double-click in the console (what a program on it prints is its own).
void TDeviceController::Received(const QByteArray &text)
{
    Console()->WriteText(text);
    const QList<int> errors = m_errorWatch.Feed(text);
    if (errors.isEmpty() || !TSimulatedModule::IsChosen(SerialPort().ComPort()))
        return;
    const int imageLine = errors.last();
    if (m_runningImage.isEmpty())
        m_pendingError = imageLine;
    else
        QTimer::singleShot(0, &m_window, [this, imageLine] { ShowSourceOf(imageLine); });
}

void TDeviceController::SetRunningImage(const QString &imagePath)
{
    m_runningImage = imagePath;
    const int pending = std::exchange(m_pendingError, 0);
    if (pending > 0 && !imagePath.isEmpty())
        ShowSourceOf(pending);
}

bool TDeviceController::ShowSourceOf(int imageLine)
{
    const std::optional<TSourcePlace> place = SourcePlaceOf(m_runningImage, imageLine);
    if (!place)
        return false;
    RunGuarded([&] { m_window.OpenFileAtLine(place->file, place->line); });
    return true;
}

void TDeviceController::ConsoleLineDoubleClicked(const QString &line)
{
    const int imageLine = RuntimeErrorImageLine(line);
    if (imageLine > 0 && !ShowSourceOf(imageLine))
        m_window.SetStatusText(6, QObject::tr("No line map of the program names line %1.").arg(imageLine));
}

// ---------------------------------------------------------------------------
// A device that goes away

void TDeviceController::DeviceGone()
{
    TMcuComPort &port = SerialPort();
    if (!port.Open() || !port.DeviceGone())
        return; // closed or connected again meanwhile
    const QString name = port.ComPort();
    const bool simulated = TSimulatedModule::IsChosen(name);
    DisconnectMenuClick();
    m_window.SetStatusText(3, QObject::tr("%1 went away").arg(name));
    QString detail = QObject::tr("The connection to %1 has ended: the device is no longer there.").arg(name);
    if (simulated) {
        detail += ' ' + QObject::tr("Connect starts the simulated module again.");
    } else {
        detail += ' ' + QObject::tr("When it is back, it is connected again with the same settings.");
        m_return->Wait();
    }
    ShowMessageDlg(mkWarning, QObject::tr("The serial device went away!"), detail, false);
}

// A device back under one of its by-id names is opened under that name. An
// open that fails (the system may not have set the device's permissions
// yet) is tried again at the next look.
void TDeviceController::DeviceBack(const QString &path)
{
    TMcuComPort &port = SerialPort();
    if (port.Open()) {
        m_return->Stop();
        return;
    }
    if (LineSettings::DevicePath(port.ComPort()) != path)
        port.SetComPort(path);
    if (!port.OpenPort(true)) {
        port.ClosePort(); // takes back the request of the failed open
        return;
    }
    ShowConnected();
    Console()->WriteText(QObject::tr("\r\n[%1 is back: connected again]\r\n").arg(path).toLocal8Bit());
}

// ---------------------------------------------------------------------------
// Macros

void TDeviceController::SendMacroBtnClick()
{
    if (m_macroSending)
        return;
    m_macroSending = true;
    const auto done = qScopeGuard([this] { m_macroSending = false; });
    for (const TMacroStep &step : SplitMacro(DecodeEscapes(m_macroBox->currentText()))) {
        SendMacroText(step.text);
        if (step.delayMs > 0)
            WaitHandlingMessages(step.delayMs);
    }
}

void TDeviceController::SendMacroText(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    Send(bytes); // nothing is sent while the port is closed
    if (m_consoleSettings.Echo)
        Console()->WriteText(bytes);
}

// A write gives up when the device takes nothing for a while, and writes
// after it do not wait at all: the window never freezes on a module that
// stopped reading. The stall shows once in the status bar, until a write
// goes through again.
void TDeviceController::Send(const QByteArray &bytes)
{
    TMcuComPort &port = SerialPort();
    const bool wasStalled = port.WriteStalled();
    port.WriteString(bytes);
    const QString stalled = port.WriteStalledText();
    if (port.WriteStalled() && !wasStalled)
        m_window.SetStatusText(6, stalled);
    else if (!port.WriteStalled() && m_window.StatusText(6) == stalled)
        m_window.SetStatusText(6, QString());
}

// ---------------------------------------------------------------------------
// Console recording

void TDeviceController::ConsolePopupMenuPopup()
{
    m_window.MenuItem("ConsoleLoggingItem")->setChecked(Console()->Logging());
}

void TDeviceController::ConsoleLoggingMenuClick()
{
    Console();
    if (m_console->Logging()) {
        m_window.SetStatusText(6, QString());
        if (!RunGuarded([this] { m_console->SetLogging(false); }))
            return; // a write error since the start is reported, not "finished"
        if (ShowMessageDlg(mkConfirmation, QObject::tr("Logging finished."),
                           QObject::tr("Do you want to open the recorded logfile now?"), false) == mrYes)
            m_window.OpenFile(m_console->LogFileName());
        return;
    }
    const QString name = m_window.AskLogFileName(m_console->LogFileName());
    if (name.isEmpty())
        return;
    m_window.SetStatusText(6, name); // before the start line, whose failed write replaces it
    m_console->SetLogFile(name);
    if (!m_console->Logging())
        m_window.SetStatusText(6, QString());
}
