// The workbench's start as the user meets it, ended as soon as the main
// window is shown and idle: the Korvid side of bench_start. The same steps
// as Korvid's main, so a cost added to the start shows here.
#include "AppState.h"
#include "Application.h"
#include "Globals.h"
#include "IdleWait.h"
#include "StartUp.h"

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv);
    InitGlobals();
    TStartUp startUp(app.State(), AbsoluteFileNames(app.arguments().mid(1)));
    startUp.Show();
    WaitUntilIdle();
    EndAtIdle();
}
