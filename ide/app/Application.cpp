#include "Application.h"

#include "AppIcon.h"
#include "AppState.h"

#include "ErrorReporter.h"
#include "Errors.h"

TKorvidApplication::TKorvidApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName("Korvid");
    // An installed workbench: the desktop matches its windows to the menu
    // entry korvid.desktop, and its icon lies in the hicolor theme's folders.
    setDesktopFileName("korvid");
    setWindowIcon(InstalledAppIcon("korvid"));
    m_state = std::make_unique<TAppState>(TWorkbenchPaths::OfProgram());
}

TKorvidApplication::~TKorvidApplication() = default;

bool TKorvidApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException();
        return false;
    }
}
