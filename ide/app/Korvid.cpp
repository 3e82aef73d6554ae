#include "Application.h"
#include "Globals.h"
#include "MainForm.h"
#include "Splash.h"

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv);
    InitGlobals();
    const QStringList arguments = AbsoluteFileNames(app.arguments().mid(1));
    int result = 0;
    {
        TMainWindow window;
        window.SetArguments(arguments);
        auto *splash = new TSplashScreen;
        splash->show();
        window.show();
        splash->raise();
        result = app.exec();
    }
    return result;
}
