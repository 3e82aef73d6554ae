#pragma once

#include <QPointer>
#include <QStringList>

#include <memory>

class TAppState;
class TMainWindow;
class TSplashScreen;

// The workbench's life around the event loop: the main window is built and
// the splash created above it; Exec shows both and runs the event loop; at
// the end a splash that is still there goes before the window. The splash
// destroys itself when its fade ends, so it is only ever reached through a
// guard: an error box that outlives it, or quitting during its fade, never
// touches a splash that is gone, and none is left behind.
class TStartUp {
public:
    TStartUp(TAppState &state, const QStringList &arguments);
    ~TStartUp();

    TMainWindow &Window()
    {
        return *m_window;
    }
    // Null once the splash has gone.
    TSplashScreen *Splash() const;

    // Shows the window with the splash above it.
    void Show();
    // Shows them and runs the event loop; returns the loop's exit code.
    int Exec();

private:
    std::unique_ptr<TMainWindow> m_window;
    QPointer<TSplashScreen> m_splash;
};
