#include "StartUp.h"

#include "MainForm.h"
#include "Splash.h"

#include <QApplication>

TStartUp::TStartUp(TAppState &state, const QStringList &arguments)
    : m_window(std::make_unique<TMainWindow>(state))
{
    m_window->SetArguments(arguments);
    m_splash = new TSplashScreen;
}

TStartUp::~TStartUp()
{
    delete m_splash.data();
}

TSplashScreen *TStartUp::Splash() const
{
    return m_splash;
}

void TStartUp::Show()
{
    if (m_splash)
        m_splash->show();
    m_window->show(); // an error box at start-up may outlive the splash
    if (m_splash)
        m_splash->raise();
}

int TStartUp::Exec()
{
    Show();
    return QApplication::exec();
}
