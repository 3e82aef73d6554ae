#include "ConsoleText.h"

#include "ConsoleScreen.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

QByteArray WithoutTrailingBlanks(QByteArray text)
{
    qsizetype size = text.size();
    while (size > 0 && text[size - 1] == ' ')
        --size;
    text.truncate(size);
    return text;
}

// Whole lines first..end-1, each ended by lineEnd; with dropBlankEnd the
// blank lines at the end are left out.
QByteArray Lines(const TConsoleScreen &screen, qint64 first, qint64 end, const QByteArray &lineEnd, bool dropBlankEnd)
{
    if (dropBlankEnd)
        while (end > first && WithoutTrailingBlanks(screen.Line(end - 1)).isEmpty())
            --end;
    QByteArray text;
    for (qint64 n = first; n < end; ++n)
        text += WithoutTrailingBlanks(screen.Line(n)) + lineEnd;
    return text;
}

} // namespace

QByteArray ConsoleText(const TConsoleScreen &screen, TConsolePlace from, TConsolePlace to, const QByteArray &lineEnd)
{
    if (to < from)
        std::swap(from, to);
    from = std::max(from, TConsolePlace{screen.FirstLine(), 0});
    to = std::min(to, TConsolePlace{screen.EndLine() - 1, std::numeric_limits<int>::max()});
    QByteArray text;
    for (qint64 n = from.line; n <= to.line; ++n) {
        const QByteArray &line = screen.Line(n);
        const qsizetype start = n == from.line ? std::max(from.column, 0) : 0;
        const qsizetype stop = n == to.line ? std::max<qsizetype>(to.column, start) : line.size();
        text += WithoutTrailingBlanks(line.mid(start, stop - start));
        if (n < to.line)
            text += lineEnd;
    }
    return text;
}

QByteArray ConsoleScreenText(const TConsoleScreen &screen, const QByteArray &lineEnd)
{
    return Lines(screen, screen.ScreenTop(), screen.EndLine(), lineEnd, true);
}

QByteArray ConsoleAllText(const TConsoleScreen &screen, const QByteArray &lineEnd)
{
    return Lines(screen, screen.FirstLine(), screen.EndLine(), lineEnd, true);
}
