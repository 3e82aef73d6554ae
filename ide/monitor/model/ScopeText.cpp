#include "ScopeText.h"

namespace {

constexpr int kReadoutLength = 20;

QString Digits(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

QString ReadoutTimeText(qint64 t)
{
    if (t < 1000)
        return QStringLiteral("%1 [ms]").arg(t);
    if (t < 60000)
        return QStringLiteral("%1.%2 [sec]").arg(t / 1000).arg(Digits(t % 1000, 3));
    if (t < 3600000)
        return QStringLiteral("%1:%2.%3 [min]").arg(t / 60000).arg(Digits(t / 1000 % 60, 2)).arg(Digits(t % 1000, 3));
    return QStringLiteral("%1:%2:%3 [h]").arg(t / 3600000).arg(Digits(t / 60000 % 60, 2)).arg(Digits(t / 1000 % 60, 2));
}

QString ReadoutValueText(float value)
{
    QString text = QString::number(double(value), 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    if (text.size() > kReadoutLength)
        text = QString::number(double(value), 'e', 3);
    return text;
}

QString CutReadoutText(const QString &text)
{
    return text.left(kReadoutLength);
}

QString ScaleValueText(float value)
{
    return QString::number(double(value), 'f', 2);
}

QString ShortScaleValueText(float value)
{
    return QString::number(double(value), 'e', 2);
}
