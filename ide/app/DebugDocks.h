#pragma once

#include <QObject>

class QDockWidget;
class QMainWindow;
class QSplitter;
class QWidget;
class TIniFile;
class TMainWindow;

// Where the Variables and Call Stack docks live: beside the output panel, in
// a row below the editors that the output panel and a small dock host share,
// so the editors keep their width and height while a program is debugged.
// The docks can be moved (side by side, tabbed, floating) and resized inside
// the host; the host appears while a dock is docked in it. The arrangement
// and the host's width are kept with the window's layout.
class TDebugDocks : public QObject {
public:
    static constexpr double kDefaultShare = 0.55; // of the row's width, at first
    static constexpr int kHostMinWidth = 120;

    // The docks are made empty; their views come with SetViews.
    explicit TDebugDocks(TMainWindow &window);
    // The views the docks show, made when a session first needs them.
    void SetViews(QWidget *variables, QWidget *callStack);

    // Shows both docks and with them the output row.
    void Show();
    QDockWidget *VariablesDock() const
    {
        return m_variables;
    }
    QDockWidget *CallStackDock() const
    {
        return m_callStack;
    }
    QMainWindow *Host() const
    {
        return m_host;
    }
    QSplitter *Row() const
    {
        return m_row;
    }

    void Restore(const TIniFile &ini);
    void Save(TIniFile &ini) const;

private:
    QDockWidget *MakeDock(const char *name, const QString &title);
    void UpdateHost();

    TMainWindow &m_window;
    QSplitter *m_row = nullptr;
    QMainWindow *m_host = nullptr;
    QDockWidget *m_variables = nullptr;
    QDockWidget *m_callStack = nullptr;
    int m_hostWidth = 0; // 0: the default share of the row
    bool m_shown = false; // since the window opened
};
