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

TMessageParts SplitErrorMessage(const QString &text)
{
    bool quoted = false;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'"')
            quoted = !quoted;
        if (!quoted && text[i] == u'.' && text[i + 1] == u' ')
            return {text.left(i + 1), text.mid(i + 2).trimmed()};
    }
    return {text, QString()};
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
