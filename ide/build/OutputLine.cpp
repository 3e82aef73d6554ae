#include "OutputLine.h"

namespace {

const QString kLocationEnd = QStringLiteral("):");

const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrey(120, 120, 120);
const QColor kDarkBlue(10, 10, 160);
const QColor kBlack(0, 0, 0);
const QColor kOwnColour; // invalid: the list's own colour

bool HasLocation(const QString &line)
{
    return line.contains(kLocationEnd);
}

// A strict decimal integer with an optional sign, as the conversion routine
// accepts it; anything else is a conversion error.
bool ToLineNumber(const QString &text, int &number)
{
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return false;
    bool ok = false;
    number = text.toInt(&ok, 10);
    return ok;
}

} // namespace

TJumpTarget ParseJumpTarget(const QString &line)
{
    TJumpTarget target;
    const qsizetype open = line.indexOf(u'(');
    const qsizetype close = line.indexOf(kLocationEnd);
    if (open < 0 || close < 0)
        return target;
    target.fileName = line.left(open);
    target.lineText = close > open ? line.mid(open + 1, close - open - 1) : QString();
    target.kind = ToLineNumber(target.lineText, target.line) ? TJumpTarget::Location : TJumpTarget::BadNumber;
    return target;
}

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
