#include "Application.h"

#include "ErrorReporter.h"
#include "Errors.h"

TKorvidApplication::TKorvidApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName("Korvid");
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
