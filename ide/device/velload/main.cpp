// velload: downloads a HEX file into a Velmo module from a shell or CI, with
// the workbench's download protocol (see LoadOptions.cpp for the command line).
#include "Globals.h"
#include "LoadOptions.h"
#include "Velload.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    InitGlobals();
    TLoadOptions options;
    QString error;
    if (!LoadOptions::Parse(app.arguments().mid(1), options, error)) {
        std::fprintf(stderr, "velload: %s\n%s", qPrintable(error), qPrintable(LoadOptions::UsageText()));
        return veUsage;
    }
    if (options.help) {
        std::fputs(qPrintable(LoadOptions::UsageText()), stdout);
        return veOk;
    }
    return RunVelload(options);
}
