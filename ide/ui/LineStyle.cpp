#include "LineStyle.h"

#include "OutputLine.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrey(120, 120, 120);
const QColor kDarkBlue(10, 10, 160);
const QColor kBlack(0, 0, 0);
const QColor kOwnColour; // invalid: the list's own colour

} // namespace

TLineStyle BuildLineStyle(const QString &line, bool selected)
{
    if (HasLocation(line))
        return selected ? TLineStyle{kRed, kWhite} : TLineStyle{kOwnColour, kRed};
    if (selected)
        return {kGrey, kWhite};
    if (line.contains(QStringLiteral(">>")))
        return {kOwnColour, kOwnColour};
    return {kOwnColour, kDarkBlue};
}

TLineStyle FindLineStyle(const QString &line, bool selected)
{
    const int indent = HasLocation(line) ? 20 : 2;
    if (selected)
        return {kGrey, kWhite, indent};
    return {kOwnColour, HasLocation(line) ? kBlack : kDarkBlue, indent};
}
