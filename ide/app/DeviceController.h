#pragma once

#include "CommandRegistry.h"
#include "PortSettings.h"

#include <QByteArray>
#include <QString>
#include <memory>

#include "RuntimeErrorPlace.h"

class QComboBox;
class QStackedWidget;
class QToolBar;
class QWidget;
class TAppState;
class TDeviceReturn;
class TCommandRegistry;
class TMainWindow;
class TLazyView;
class TMcuComRecv;
class TMcuConsole;

// The serial link in the main window: the receive dispatcher between the
// port and the console, the preferences and how they are applied, connect
// and disconnect, the macro box and its Send button, the console's keys and
// its recording.
class TDeviceController {
public:
    TDeviceController(TMainWindow &window, TAppState &app);
    ~TDeviceController();

    // Called once each while the window is built. The console is made when
    // first needed (its tab picked, text to show, a command of its own);
    // until then a placeholder holds its place among the views.
    QComboBox *CreateMacroBox(QToolBar *bar);
    QWidget *CreateConsole(QStackedWidget *views, TCommandRegistry &commands);
    void CreateLink(TCommandRegistry &commands);
    // At the end of the window.
    void DestroyLink();

    bool PortIsOpen() const;

    // The first call of the workbench prepares the settings file and applies
    // everything; later calls apply what the preferences marked changed.
    void ApplySettings();
    void UpdatePortStatus();
    void SettingsMenuClick();
    void ConnectMenuClick();
    // The commands and status panels of a connected terminal.
    void ShowConnected();
    void DisconnectMenuClick();
    void SendMacroBtnClick();
    void ConsoleLoggingMenuClick();
    void ConsolePopupMenuPopup();

    // The program image last sent to the module: the runtime errors the
    // module reports are shown in its sources. Empty while a download runs;
    // an error reported meanwhile waits for the image's name.
    void SetRunningImage(const QString &imagePath);

    // The console, made now if it was not yet.
    TMcuConsole *Console();
    bool ConsoleMade() const
    {
        return m_console != nullptr;
    }
    // What the output views hold in the console's place.
    QWidget *ConsoleView() const;
    QComboBox *MacroBox() const
    {
        return m_macroBox;
    }

private:
    void ApplyPortSettings();
    // A connected device that went away ends the connection, and is
    // connected again when it comes back (TDeviceReturn).
    void DeviceGone();
    void DeviceBack(const QString &path);
    void ApplyTerminalSettings();
    TMcuConsole *MakeConsole(QWidget *parent);
    void ApplyConsoleSettings();
    void SendMacroText(const QByteArray &bytes);
    void Send(const QByteArray &bytes);
    void Received(const QByteArray &text);
    // Opens the source line of the running image's line; false when the
    // image has no map with that line.
    bool ShowSourceOf(int imageLine);
    void ConsoleLineDoubleClicked(const QString &line);

    TMainWindow &m_window;
    TAppState &m_app;
    TMcuConsole *m_console = nullptr;
    std::unique_ptr<TLazyView> m_consoleView;
    // The console's own commands, reached through the window's.
    TCommandRegistry m_consoleCommands;
    // What the console shows and sends by, kept while it is not made.
    TTerminalSettings m_consoleSettings;
    QComboBox *m_macroBox = nullptr;
    std::unique_ptr<TMcuComRecv> m_receiver;
    std::unique_ptr<TDeviceReturn> m_return;
    QString m_runningImage;
    TRuntimeErrorWatch m_errorWatch;
    int m_pendingError = 0; // an image line reported before the image was named
    // Guards against a second macro send while one waits in a delay (the
    // delay keeps handling window messages, so the Send button still works).
    bool m_macroSending = false;
};
