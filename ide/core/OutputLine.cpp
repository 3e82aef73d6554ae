#include "OutputLine.h"

namespace {

const QString kLocationEnd = QStringLiteral("):");

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

bool HasLocation(const QString &line)
{
    return line.contains(kLocationEnd);
}

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
