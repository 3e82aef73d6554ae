#include "RecentFiles.h"

namespace {

QChar AsciiLower(QChar c)
{
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        return QChar(c.unicode() + ('a' - 'A'));
    return c;
}

constexpr int ShortPathLimit = 22;
constexpr int ShortPathTail = 23;
const QChar PathSeparator = QLatin1Char('/');

// The drive part of a path: a POSIX path has none.
QString DrivePart(const QString &)
{
    return QString();
}

} // namespace

bool SameNameIgnoringAsciiCase(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

void TRecentFiles::AddFile(const QString &name)
{
    if (name.isEmpty())
        return;
    RemoveFile(name);
    m_files.prepend(name);
    while (m_files.size() > MaxCount)
        m_files.removeLast();
}

void TRecentFiles::RemoveFile(const QString &name)
{
    m_files.removeIf([&name](const QString &entry) { return SameNameIgnoringAsciiCase(entry, name); });
}

QString TRecentFiles::FileAt(int index) const
{
    if (index < 0 || index >= m_files.size())
        return QString();
    return m_files[index];
}

QString RecentEntryCaption(int index, const QString &name)
{
    QString shown = name;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QLatin1Char('&') + QString::number(index) + QLatin1Char(' ') + shown;
}

QString ShortenPath(const QString &path)
{
    if (path.size() <= ShortPathLimit)
        return path;
    QString result = DrivePart(path);
    if (!result.endsWith(PathSeparator))
        result += PathSeparator;
    result += QLatin1String("...");
    QString tail = path.right(ShortPathTail);
    const qsizetype cut = tail.indexOf(PathSeparator);
    if (cut > 0)
        tail.remove(0, cut);
    result += tail;
    if (!result.endsWith(PathSeparator))
        result += PathSeparator;
    return result;
}
