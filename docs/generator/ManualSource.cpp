#include "ManualSource.h"

#include "LanguageReference.h"
#include "MarkdownHtml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QRegularExpression kDirective(QStringLiteral("^\\{\\{(\\w+)\\s*(.*?)\\}\\}\\s*$"));
const QRegularExpression kFigurePath(QStringLiteral("^images/[A-Za-z0-9_-]+\\.png$"));

QString TrimEnd(QString line)
{
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    return line;
}

class TExpander {
public:
    TExpander(TExpandedManual &manual, QStringList &errors)
        : m_manual(manual)
        , m_errors(errors)
    {
    }

    void Chapter(const TChapterFile &file);

private:
    void Line();
    void Directive(const QString &name, const QString &argument);
    void Entry(const QString &argument);
    QStringList SyntaxBlock();
    void Heading(int level, const QString &title);
    void Figure(const QString &line);
    void Error(const QString &message, int line)
    {
        m_errors << QStringLiteral("%1(%2): %3").arg(m_file, QString::number(line + 1), message);
    }
    QString Number(int level) const;
    QString ChapterLabel() const;

    TExpandedManual &m_manual;
    QStringList &m_errors;
    QString m_file;
    QStringList m_lines;
    int m_pos = 0;
    bool m_inFence = false;
    bool m_appendices = false;
    int m_chapter = 0;
    int m_section = 0;
    int m_figure = 0; // the pictures of the chapter so far
};

void TExpander::Chapter(const TChapterFile &file)
{
    m_file = file.name;
    m_lines = file.text.split(u'\n');
    m_inFence = false;
    for (m_pos = 0; m_pos < m_lines.size(); ++m_pos)
        Line();
    if (m_inFence)
        Error(QStringLiteral("a ``` block is not closed"), static_cast<int>(m_lines.size()) - 1);
    m_manual.markdown += u'\n';
}

void TExpander::Line()
{
    QString line = m_lines[m_pos];
    if (line.endsWith(u'\r'))
        line.chop(1);
    if (line.startsWith(QLatin1String("```")))
        m_inFence = !m_inFence;
    const QRegularExpressionMatch directive = kDirective.match(line);
    const QRegularExpressionMatch heading = kMarkdownHeading.match(line);
    if (!m_inFence && directive.hasMatch())
        Directive(directive.captured(1), directive.captured(2).trimmed());
    else if (!m_inFence && heading.hasMatch())
        Heading(static_cast<int>(heading.captured(1).size()), heading.captured(2).trimmed());
    else if (!m_inFence && line.startsWith(QLatin1String("![")))
        Figure(line);
    else
        m_manual.markdown += line + u'\n';
}

void TExpander::Directive(const QString &name, const QString &argument)
{
    QString table;
    if (name == QLatin1String("entry")) {
        Entry(argument);
    } else if (name == QLatin1String("table")) {
        if (GeneratedTable(argument, table))
            m_manual.markdown += table + u'\n';
        else
            Error(QStringLiteral("no generated table is called '%1'").arg(argument), m_pos);
    } else if (name == QLatin1String("appendices")) {
        m_appendices = true;
        m_chapter = 0;
    } else {
        Error(QStringLiteral("unknown directive '%1'").arg(name), m_pos);
    }
}

void TExpander::Entry(const QString &argument)
{
    const int line = m_pos;
    TManualEntry entry;
    for (const QString &word : argument.split(u',', Qt::SkipEmptyParts))
        entry.keywords << word.trimmed().toUpper();
    entry.syntax = SyntaxBlock();
    QString error;
    const QString markdown = entry.keywords.isEmpty() ? QString() : EntryMarkdown(entry, error);
    if (markdown.isEmpty()) {
        Error(entry.keywords.isEmpty() ? QStringLiteral("an entry names no keyword") : error, line);
        return;
    }
    const QString title = markdown.section(u'\n', 0, 0).mid(4);
    m_manual.headings << THeading{3, title};
    m_manual.entries << entry.keywords;
    m_manual.markdown += markdown;
}

// The lines of a ```syntax block right after an entry directive.
QStringList TExpander::SyntaxBlock()
{
    QStringList lines;
    if (m_pos + 1 >= m_lines.size() || m_lines[m_pos + 1].trimmed() != QLatin1String("```syntax"))
        return lines;
    for (m_pos += 2; m_pos < m_lines.size() && m_lines[m_pos].trimmed() != QLatin1String("```"); ++m_pos)
        lines << TrimEnd(m_lines[m_pos]);
    return lines;
}

// A picture stands in a paragraph of its own, so blank lines surround it.
void TExpander::Figure(const QString &line)
{
    const QRegularExpressionMatch match = kMarkdownFigure.match(line);
    const QString caption = match.captured(1).trimmed();
    const QString path = match.captured(2).trimmed();
    if (!match.hasMatch()) {
        Error(QStringLiteral("a picture is written \"![Caption](images/name.png)\" on a line of its own"), m_pos);
        return;
    }
    if (caption.isEmpty()) {
        Error(QStringLiteral("the picture '%1' has no caption").arg(path), m_pos);
        return;
    }
    if (!kFigurePath.match(path).hasMatch()) {
        Error(QStringLiteral("a picture is a PNG file in the images folder (images/name.png), not '%1'").arg(path),
              m_pos);
        return;
    }
    const QImage image(QFileInfo(m_file).dir().filePath(path));
    if (image.isNull()) {
        Error(QStringLiteral("can't read the image '%1'").arg(path), m_pos);
        return;
    }
    const QString numbered = QStringLiteral("Figure %1.%2: %3").arg(ChapterLabel()).arg(++m_figure).arg(caption);
    m_manual.figures << TFigure{path, numbered, image};
    m_manual.markdown += QStringLiteral("\n![%1](%2)\n\n").arg(numbered, path);
}

QString TExpander::ChapterLabel() const
{
    return m_appendices ? QString(QChar(u'A' + m_chapter - 1)) : QString::number(m_chapter);
}

QString TExpander::Number(int level) const
{
    const QString chapter = ChapterLabel();
    if (level == 1)
        return m_appendices ? QStringLiteral("Appendix ") + chapter + u':' : chapter;
    return chapter + u'.' + QString::number(m_section);
}

void TExpander::Heading(int level, const QString &title)
{
    if (level == 3) {
        Error(QStringLiteral("\"###\" headings are the reference entries': use {{entry ...}} or \"####\""), m_pos);
        return;
    }
    if (level == 4) {
        m_manual.markdown += QStringLiteral("#### ") + title + u'\n';
        return;
    }
    if (level == 1) {
        ++m_chapter;
        m_section = 0;
        m_figure = 0;
    } else {
        ++m_section;
    }
    const QString numbered = Number(level) + u' ' + title;
    m_manual.headings << THeading{level, numbered};
    m_manual.markdown += QString(level, u'#') + u' ' + numbered + u'\n';
}

} // namespace

bool ExpandManual(const QList<TChapterFile> &chapters, TExpandedManual &manual, QStringList &errors)
{
    manual = TExpandedManual();
    errors.clear();
    TExpander expander(manual, errors);
    for (const TChapterFile &chapter : chapters)
        expander.Chapter(chapter);
    return errors.isEmpty();
}

bool ReadChapters(const QString &folder, QList<TChapterFile> &chapters, QString &error)
{
    chapters.clear();
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        error = QStringLiteral("no chapter files (*.md) in '%1'").arg(folder);
        return false;
    }
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("can't read '%1': %2").arg(file.fileName(), file.errorString());
            return false;
        }
        chapters << TChapterFile{dir.filePath(name), QString::fromUtf8(file.readAll())};
    }
    return true;
}
