#include "AppState.h"
#include "Application.h"
#include "Globals.h"
#include "StartUp.h"

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv);
    InitGlobals();
    TStartUp startUp(app.State(), AbsoluteFileNames(app.arguments().mid(1)));
    return startUp.Exec();
}
