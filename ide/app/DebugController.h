#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class TAppState;
class TCallStackView;
class TCommandRegistry;
class TDebugDocks;
class TIniFile;
class TDebugSession;
class TMainWindow;
class TSourceEditor;
class TVariablesView;

// Debugging on the simulated module in the main window: the Debug menu's
// commands, the editors' breakpoints sent to the session, the place where
// the program stands marked in its editor, the Variables and Call stack
// docks, and the console connected to the program's serial line while the
// session runs (the simulated module's own simulator is stopped meanwhile
// and connected again after). A runtime error opens its line, marks it and
// writes its message to the Build list.
class TDebugController : public QObject {
public:
    TDebugController(TMainWindow &window, TAppState &app);
    ~TDebugController() override;

    // Called once while the window is built.
    void CreateDocks();
    void RegisterCommands(TCommandRegistry &commands);
    // The docks' arrangement, with the window's layout.
    void RestoreLayout(const TIniFile &ini);
    void SaveLayout(TIniFile &ini) const;
    // The Debug menu's opening handler: enabled items and why not.
    void DebugMenuClick();

    TDebugSession &Session() const
    {
        return *m_session;
    }
    // The views are made when a session first shows them (or asked for here).
    TVariablesView *VariablesView()
    {
        MakeViews();
        return m_variables;
    }
    TCallStackView *CallStackView()
    {
        MakeViews();
        return m_callStack;
    }
    bool ViewsMade() const
    {
        return m_variables != nullptr;
    }
    TDebugDocks &Docks() const
    {
        return *m_docks;
    }

    void StartDebugMenuClick();
    void StopDebugMenuClick();
    void RunToCursorMenuClick();
    void ToggleBreakpointMenuClick();
    void EditBreakpointMenuClick();
    // The breakpoint dialog for a line of an editor; its result is set there.
    void EditBreakpoint(TSourceEditor *editor, int line);

private:
    void MakeViews();
    void Launch();
    void Launched(const QString &path);
    void Stopped(const QString &reason, const QString &text);
    void Resumed();
    void Ended(const QString &reason);
    void ShowRuntimeError(TSourceEditor *editor, const QString &text);
    void ConnectMargins();
    void ConnectMargin(TSourceEditor &editor);
    void MarginEditRequested(int line);
    void MarginChanged();
    void BreakpointRefused(const QString &file, int line, const QString &message);
    void WatchValue(const QString &name, bool on);
    void ClearMarks();
    bool Simulated() const;
    TSourceEditor *EditorOf(const QString &file) const;
    TSourceEditor *CurrentSourceEditor() const;
    QList<TSourceEditor *> SourceEditors() const;

    TMainWindow &m_window;
    TAppState &m_app;
    std::unique_ptr<TDebugSession> m_session;
    TVariablesView *m_variables = nullptr;
    TCallStackView *m_callStack = nullptr;
    TDebugDocks *m_docks = nullptr;
    bool m_wasConnected = false; // to the simulated module, before the session
};
