#include "FileSearch.h"

#include "TextLines.h"
#include "lang/CharClass.h"

#include <QDir>
#include <QDirIterator>

namespace {

const QString kPad = QStringLiteral("  ");
const QString kTabBlanks = QStringLiteral("    ");

// Whole-word search stops a word at anything but an ASCII letter or digit.
bool IsSearchWordChar(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 && velmo::lang::IsAlphaNumeric(static_cast<char>(u));
}

// Upper case as the ANSI code page maps it: the micro sign has no capital
// there and stays as it is.
QString UpperCase(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c.unicode() != 0x00B5)
            c = c.toUpper();
    }
    return upper;
}

bool StartsWord(const QString &line, qsizetype pos)
{
    return pos == 0 || !IsSearchWordChar(line[pos - 1]);
}

bool EndsWord(const QString &line, qsizetype end)
{
    return end >= line.size() || !IsSearchWordChar(line[end]);
}

bool TouchesUnderscore(const QString &line, qsizetype pos, qsizetype end)
{
    return (pos > 0 && line[pos - 1] == u'_') || (end < line.size() && line[end] == u'_');
}

bool WholeWordMatch(const QString &line, const QString &text)
{
    for (qsizetype pos = line.indexOf(text); pos >= 0; pos = line.indexOf(text, pos + 1)) {
        const qsizetype end = pos + text.size();
        if (StartsWord(line, pos) && EndsWord(line, end))
            return !TouchesUnderscore(line, pos, end);
    }
    return false;
}

} // namespace

bool ExtensionPasses(const QString &fileName, const QString &filter)
{
    const QString name = fileName.mid(fileName.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    return filter.contains(name.mid(dot).toLower());
}

bool LineMatches(const QString &padded, const TFileSearchOptions &options)
{
    if (options.text.isEmpty())
        return false;
    const QString line = options.caseSensitive ? padded : UpperCase(padded);
    const QString text = options.caseSensitive ? options.text : UpperCase(options.text);
    if (!options.wholeWords)
        return line.contains(text);
    return WholeWordMatch(line, text);
}

TFileSearch::TFileSearch(TFileSearchOptions options, Sink sink)
    : m_options(std::move(options))
    , m_sink(std::move(sink))
{
}

void TFileSearch::SearchFile(const QString &fileName, const QStringList &lines)
{
    if (!ExtensionPasses(fileName, m_options.filter))
        return;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString padded = kPad + lines[i] + kPad;
        if (LineMatches(padded, m_options))
            AddResult(fileName, static_cast<int>(i + 1), padded);
    }
}

void TFileSearch::AddResult(const QString &fileName, int line, const QString &text)
{
    QString shown = text;
    shown.replace(u'\t', kTabBlanks);
    m_sink(fileName + u'(' + QString::number(line) + QStringLiteral("): ") + shown);
}

bool TFileSearch::SearchDirectory(const QString &dir, QString &error)
{
    QDirIterator entries(dir, QDir::Files | QDir::NoDotAndDotDot);
    const QString prefix = dir.endsWith(u'/') ? dir : dir + u'/';
    while (entries.hasNext()) {
        entries.next();
        const QString fileName = prefix + entries.fileName();
        // Files the filter leaves out are not even read.
        if (!ExtensionPasses(fileName, m_options.filter))
            continue;
        QStringList lines;
        if (!ReadTextLines(fileName, lines, error))
            return false;
        SearchFile(fileName, lines);
    }
    return true;
}
