#include "Application.h"

#include "ErrorReporter.h"
#include "Errors.h"

#include <QIcon>

TKorvidApplication::TKorvidApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName("Korvid");
    // An installed workbench: the desktop matches its windows to the menu
    // entry korvid.desktop, and the icon theme holds its icon.
    setDesktopFileName("korvid");
    setWindowIcon(QIcon::fromTheme("korvid"));
}

bool TKorvidApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException();
        return false;
    }
}
