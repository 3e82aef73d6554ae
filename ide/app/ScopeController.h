#pragma once

class QComboBox;
class QToolBar;
class QWidget;
class TAppState;
class TCommandRegistry;
class TMainWindow;
class TMcuScope;

// The scope in the main window: the view with its commands, the time-base
// box of the output toolbar, Clear on the scope tab, and the entry for the
// samples the receive dispatcher finds in the serial stream.
class TScopeController {
public:
    TScopeController(TMainWindow &window, TAppState &app);

    // Called once each while the window is built, the box first.
    QComboBox *CreateTimeBaseBox(QToolBar *bar);
    TMcuScope *CreateScope(QWidget *parent, TCommandRegistry &commands);

    // The receive dispatcher's sample event: channel 0 ... 3 and the value.
    void ReceivedSample(int channel, float value);
    void ClearScopeView();
    // The time base is chosen only while the scope tab shows.
    void SetScopeTabShown(bool shown);

    TMcuScope *Scope() const
    {
        return m_scope;
    }
    QComboBox *TimeBaseBox() const
    {
        return m_timeBaseBox;
    }

private:
    // Each channel button #0 to #3 shows its channel's (fixed) colour beside
    // its text.
    void ColourChannelButton(int channel);

    TMainWindow &m_window;
    TAppState &m_app;
    TMcuScope *m_scope = nullptr;
    QComboBox *m_timeBaseBox = nullptr;
};
