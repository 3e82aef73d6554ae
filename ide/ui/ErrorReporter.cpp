#include "ErrorReporter.h"

#include "Errors.h"
#include "MsgDlg.h"

#include <exception>

namespace {

std::function<void(const QString &)> &Reporter()
{
    static std::function<void(const QString &)> reporter;
    return reporter;
}

} // namespace

void ShowErrorMessage(const QString &message)
{
    if (Reporter())
        Reporter()(message);
    else
        ShowMessageDlg(mkError, SplitErrorMessage(message).message, SplitErrorMessage(message).help, false);
}

void SetErrorReporter(std::function<void(const QString &)> reporter)
{
    Reporter() = std::move(reporter);
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
