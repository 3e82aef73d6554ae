#include "MarkdownHtml.h"

#include <QRegularExpression>
#include <QStringList>

const QRegularExpression kMarkdownHeading(QStringLiteral("^(#{1,4}) +(.*)$"));
const QRegularExpression kMarkdownFigure(QStringLiteral("^!\\[([^\\]]*)\\]\\(([^)]*)\\)\\s*$"));

namespace {

// Colours of the boxes around examples, program output, plain text and notes.
struct TBoxStyle {
    const char *kind;
    const char *background;
};
constexpr TBoxStyle kBoxes[] = {
    {"velmo", "#eaf0f7"}, {"output", "#f3f3ee"}, {"trace", "#f3f3ee"}, {"text", "#f3f3f3"}, {"note", "#fdf6e3"},
};

const char *BoxBackground(const QString &kind)
{
    for (const TBoxStyle &box : kBoxes) {
        if (kind == QLatin1String(box.kind))
            return box.background;
    }
    return kBoxes[2].background;
}

QString Box(const QString &kind, const QString &content)
{
    return QStringLiteral("<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"6\" class=\"box\">"
                          "<tr><td bgcolor=\"%1\">%2</td></tr></table>\n")
        .arg(QLatin1String(BoxBackground(kind)), content);
}

// What the simulated module prints is labelled, so that it is never taken
// for a part of the example above it.
QString Caption(const QString &kind)
{
    if (kind == QLatin1String("output"))
        return QStringLiteral("<p class=\"caption\">Output</p>");
    if (kind == QLatin1String("trace"))
        return QStringLiteral("<p class=\"caption\">velsim --trace (standard error)</p>");
    return QString();
}

enum class TBlock { None, Paragraph, Bullets, Numbers, Table, Note, Raw, Fence };

const QRegularExpression kNumbered(QStringLiteral("^\\d+\\. +(.*)$"));
const QRegularExpression kRule(QStringLiteral("^\\|?[\\s:|-]+\\|?$"));

QString FigureHtml(const QRegularExpressionMatch &figure)
{
    return QStringLiteral("<p align=\"center\" class=\"figure\"><img src=\"%1\"></p>\n"
                          "<p align=\"center\" class=\"figcaption\">%2</p>\n")
        .arg(EscapeHtml(figure.captured(2).trimmed()), EscapeHtml(figure.captured(1).trimmed()));
}

QStringList Cells(const QString &row)
{
    QString inner = row.trimmed();
    if (inner.startsWith(u'|'))
        inner.remove(0, 1);
    if (inner.endsWith(u'|') && !inner.endsWith(QLatin1String("\\|")))
        inner.chop(1);
    QStringList cells;
    QString cell;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == u'\\' && i + 1 < inner.size() && inner[i + 1] == u'|') {
            cell += u'|';
            ++i;
        } else if (inner[i] == u'|') {
            cells << cell.trimmed();
            cell.clear();
        } else {
            cell += inner[i];
        }
    }
    cells << cell.trimmed();
    return cells;
}

// One pass over the lines; a block stays open until a line of another kind
// or a blank line ends it.
class TMarkdownConverter {
public:
    QString Convert(const QString &markdown)
    {
        for (const QString &line : markdown.split(u'\n'))
            Line(line);
        Close();
        return m_html;
    }

private:
    void Line(const QString &line);
    bool Continue(const QString &line);
    bool ListLine(const QString &line);
    void Start(const QString &line);
    void Close();
    void CloseList();
    void CloseTable();
    void Heading(const QRegularExpressionMatch &match);

    QString m_html;
    TBlock m_block = TBlock::None;
    QString m_text; // the open paragraph or note
    QStringList m_items; // the open list
    QList<QStringList> m_rows; // the open table
    QString m_fenceKind;
    QStringList m_fenceLines;
};

void TMarkdownConverter::Line(const QString &rawLine)
{
    const QString line = rawLine.endsWith(u'\r') ? rawLine.chopped(1) : rawLine;
    if (m_block == TBlock::Fence) {
        if (line.trimmed() == QLatin1String("```"))
            Close();
        else
            m_fenceLines << line;
        return;
    }
    if (line.trimmed().isEmpty()) {
        Close();
        return;
    }
    if (!Continue(line)) {
        Close();
        Start(line);
    }
}

// Whether the line belongs to the open block (and has been added to it).
bool TMarkdownConverter::Continue(const QString &line)
{
    switch (m_block) {
    case TBlock::Paragraph:
        if (line.startsWith(u'#') || line.startsWith(QLatin1String("```")) || line.startsWith(QLatin1String("- ")) ||
            line.startsWith(u'|') || kMarkdownFigure.match(line).hasMatch())
            return false;
        m_text += u' ' + line.trimmed();
        return true;
    case TBlock::Note:
        m_text += u' ' + (line.startsWith(u'>') ? line.mid(1).trimmed() : line.trimmed());
        return true;
    case TBlock::Bullets:
    case TBlock::Numbers:
        return ListLine(line);
    case TBlock::Table:
        if (!line.startsWith(u'|'))
            return false;
        if (m_rows.size() != 1 || !kRule.match(line).hasMatch())
            m_rows << Cells(line);
        return true;
    case TBlock::Raw:
        m_html += line + u'\n';
        return true;
    default:
        return false;
    }
}

// A further item of the open list, or a line that continues its last item.
bool TMarkdownConverter::ListLine(const QString &line)
{
    const QRegularExpressionMatch numbered = kNumbered.match(line);
    if (m_block == TBlock::Bullets && line.startsWith(QLatin1String("- ")))
        m_items << line.mid(2).trimmed();
    else if (m_block == TBlock::Numbers && numbered.hasMatch())
        m_items << numbered.captured(1);
    else if (line.startsWith(QLatin1String("  ")))
        m_items.last() += u' ' + line.trimmed();
    else
        return false;
    return true;
}

void TMarkdownConverter::Start(const QString &line)
{
    const QRegularExpressionMatch heading = kMarkdownHeading.match(line);
    const QRegularExpressionMatch numbered = kNumbered.match(line);
    const QRegularExpressionMatch figure = kMarkdownFigure.match(line);
    if (heading.hasMatch()) {
        Heading(heading);
    } else if (figure.hasMatch()) {
        m_html += FigureHtml(figure);
    } else if (line.startsWith(QLatin1String("```"))) {
        m_block = TBlock::Fence;
        m_fenceKind = line.mid(3).trimmed();
        m_fenceLines.clear();
    } else if (line.startsWith(QLatin1String("- "))) {
        m_block = TBlock::Bullets;
        m_items = QStringList{line.mid(2).trimmed()};
    } else if (numbered.hasMatch()) {
        m_block = TBlock::Numbers;
        m_items = QStringList{numbered.captured(1)};
    } else if (line.startsWith(u'|')) {
        m_block = TBlock::Table;
        m_rows = {Cells(line)};
    } else if (line.startsWith(u'>')) {
        m_block = TBlock::Note;
        m_text = line.mid(1).trimmed();
    } else if (line.startsWith(u'<')) {
        m_block = TBlock::Raw;
        m_html += line + u'\n';
    } else {
        m_block = TBlock::Paragraph;
        m_text = line.trimmed();
    }
}

void TMarkdownConverter::Heading(const QRegularExpressionMatch &match)
{
    const QString level = QString::number(match.captured(1).size());
    m_html += QStringLiteral("<h%1>%2</h%1>\n").arg(level, InlineHtml(match.captured(2).trimmed()));
}

void TMarkdownConverter::Close()
{
    switch (m_block) {
    case TBlock::Paragraph:
        m_html += QStringLiteral("<p>%1</p>\n").arg(InlineHtml(m_text));
        break;
    case TBlock::Note:
        m_html += Box(QStringLiteral("note"), InlineHtml(m_text));
        break;
    case TBlock::Bullets:
    case TBlock::Numbers:
        CloseList();
        break;
    case TBlock::Table:
        CloseTable();
        break;
    case TBlock::Fence:
        m_html += Box(m_fenceKind,
                      Caption(m_fenceKind) + QStringLiteral("<pre>%1</pre>").arg(EscapeHtml(m_fenceLines.join(u'\n'))));
        break;
    default:
        break;
    }
    m_block = TBlock::None;
}

void TMarkdownConverter::CloseList()
{
    const QString tag = m_block == TBlock::Bullets ? QStringLiteral("ul") : QStringLiteral("ol");
    m_html += u'<' + tag + u'>';
    for (const QString &item : m_items)
        m_html += QStringLiteral("<li>%1</li>").arg(InlineHtml(item));
    m_html += QStringLiteral("</%1>\n").arg(tag);
}

void TMarkdownConverter::CloseTable()
{
    m_html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" class=\"grid\">");
    // The header row is in <thead>, so a table that runs on to the next page
    // repeats it there.
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        m_html += r == 0 ? QStringLiteral("<thead><tr>") : QStringLiteral("<tr>");
        for (const QString &cell : m_rows[r]) {
            m_html += r == 0 ? QStringLiteral("<th align=\"left\" bgcolor=\"#dde5ee\">%1</th>").arg(InlineHtml(cell))
                             : QStringLiteral("<td>%1</td>").arg(InlineHtml(cell));
        }
        m_html += r == 0 ? QStringLiteral("</tr></thead>") : QStringLiteral("</tr>");
    }
    m_html += QStringLiteral("</table>\n");
}

} // namespace

QString EscapeHtml(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            escaped += QLatin1String("&amp;");
        else if (c == u'<')
            escaped += QLatin1String("&lt;");
        else if (c == u'>')
            escaped += QLatin1String("&gt;");
        else
            escaped += c;
    }
    return escaped;
}

QString InlineHtml(const QString &text)
{
    QString html;
    bool bold = false;
    bool italic = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const qsizetype close = c == u'`' ? text.indexOf(u'`', i + 1) : -1;
        if (c == u'\\' && i + 1 < text.size()) {
            html += EscapeHtml(text[++i]);
        } else if (close > i) {
            html += QStringLiteral("<code>%1</code>").arg(EscapeHtml(text.mid(i + 1, close - i - 1)));
            i = close;
        } else if (c == u'*' && i + 1 < text.size() && text[i + 1] == u'*') {
            html += bold ? QLatin1String("</b>") : QLatin1String("<b>");
            bold = !bold;
            ++i;
        } else if (c == u'*') {
            html += italic ? QLatin1String("</i>") : QLatin1String("<i>");
            italic = !italic;
        } else {
            html += EscapeHtml(QString(c));
        }
    }
    if (italic)
        html += QLatin1String("</i>");
    if (bold)
        html += QLatin1String("</b>");
    return html;
}

QString MarkdownToHtml(const QString &markdown)
{
    return TMarkdownConverter().Convert(markdown);
}
