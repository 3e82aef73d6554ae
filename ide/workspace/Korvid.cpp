#include "Application.h"
#include "Globals.h"
#include "MainForm.h"
#include "Splash.h"

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv);
    InitGlobals();
    int result = 0;
    {
        TMainWindow window;
        window.SetArguments(app.arguments().mid(1));
        auto *splash = new TSplashScreen;
        splash->show();
        window.show();
        splash->raise();
        result = app.exec();
    }
    return result;
}
