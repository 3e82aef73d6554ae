#include "Errors.h"

#include <cerrno>
#include <cstring>

EKorvidError::EKorvidError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString EKorvidError::Message() const
{
    return QString::fromStdString(what());
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
