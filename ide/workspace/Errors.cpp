#include "Errors.h"

#include "MsgDlg.h"

#include <cerrno>
#include <cstring>
#include <exception>

namespace {

std::function<void(const QString &)> &Reporter()
{
    static std::function<void(const QString &)> reporter;
    return reporter;
}

} // namespace

EKorvidError::EKorvidError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString EKorvidError::Message() const
{
    return QString::fromStdString(what());
}

void ShowErrorMessage(const QString &message)
{
    if (Reporter())
        Reporter()(message);
    else
        ShowMessageDlg(mkError, message, QString(), false);
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

QString SystemErrorText(int code)
{
    if (code == 0)
        return QString();
    QString text = QString::fromLocal8Bit(std::strerror(code));
    if (text.startsWith(QLatin1String("Unknown error")))
        return QString();
    const int lineBreak = text.indexOf(QLatin1String("\r\n"));
    if (lineBreak >= 0)
        text.remove(lineBreak, 2);
    return text;
}

QString LastErrorText()
{
    return SystemErrorText(errno);
}
