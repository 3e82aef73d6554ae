#include "ErrorReporter.h"

#include "DialogHooks.h"
#include "Errors.h"
#include "MsgDlg.h"

#include <exception>

void ShowErrorMessage(const QString &message)
{
    if (const auto &reporter = DialogHooks().errorReporter)
        reporter(message);
    else
        ShowMessageDlg(mkError, SplitErrorMessage(message).message, SplitErrorMessage(message).help, false);
}

void HandleException()
{
    try {
        throw;
    } catch (const std::exception &e) {
        ShowErrorMessage(QString::fromStdString(e.what()));
    } catch (...) {
        ShowErrorMessage(QStringLiteral("Unknown error."));
    }
}

bool RunGuarded(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (...) {
        HandleException();
        return false;
    }
}
