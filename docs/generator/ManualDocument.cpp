#include "ManualDocument.h"

#include "MarkdownHtml.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>

namespace {

// Page margins in millimetres: the running head sits in the top margin, the
// page number in the bottom one.
constexpr qreal kTopMm = 24;
constexpr qreal kBottomMm = 22;
constexpr qreal kLeftMm = 22;
constexpr qreal kRightMm = 20;
constexpr int kIndexColumns = 3;
// A picture takes at most the width of the text and this part of its height,
// and is never drawn larger than one pixel of it to a pixel of a 96 dpi
// screen.
constexpr qreal kFigureHeightShare = 0.6;

const char kStyleSheet[] = R"(
h1 { font-family: "DejaVu Sans"; font-size: 20pt; font-weight: bold; color: #0b3d6b;
     margin-top: 0px; margin-bottom: 18px; page-break-before: always; }
h2 { font-family: "DejaVu Sans"; font-size: 14pt; font-weight: bold; color: #0b3d6b;
     margin-top: 16px; margin-bottom: 8px; }
h3 { font-family: "DejaVu Sans"; font-size: 11pt; font-weight: bold; color: #0b3d6b;
     margin-top: 16px; margin-bottom: 5px; }
h4 { font-family: "DejaVu Sans"; font-size: 10pt; font-weight: bold; margin-top: 10px; margin-bottom: 4px; }
p { margin-top: 0px; margin-bottom: 7px; }
li { margin-bottom: 3px; }
code { font-family: "DejaVu Sans Mono"; font-size: 8.5pt; color: #1d2b3a; }
pre { font-family: "DejaVu Sans Mono"; font-size: 8.5pt; margin-top: 0px; margin-bottom: 0px; }
table { margin-top: 3px; margin-bottom: 9px; }
table.grid { border-color: #9fb0c2; border-style: solid; border-collapse: collapse; }
table.syntax { border-color: #b4c1ce; border-style: solid; border-collapse: collapse; }
th { font-family: "DejaVu Sans"; font-size: 9pt; }
p.title { font-family: "DejaVu Sans"; font-size: 28pt; font-weight: bold; color: #0b3d6b; }
p.subtitle { font-family: "DejaVu Sans"; font-size: 13pt; color: #3a5a7a; }
td.toc1 { font-family: "DejaVu Sans"; font-weight: bold; padding-top: 7px; }
td.toc2 { padding-left: 18px; }
td.label { font-family: "DejaVu Sans"; font-size: 8.5pt; font-weight: bold; color: #0b3d6b; }
td.value { font-family: "DejaVu Sans"; font-size: 8.5pt; }
td.page { font-family: "DejaVu Sans"; font-size: 8.5pt; }
p.caption { font-family: "DejaVu Sans"; font-size: 7pt; color: #6a7a8a; margin-bottom: 2px; }
p.figure { margin-top: 6px; margin-bottom: 0px; }
p.figcaption { font-family: "DejaVu Sans"; font-size: 8.5pt; color: #0b3d6b; margin-top: 4px; margin-bottom: 12px; }
)";

qreal MmToPoints96(qreal mm)
{
    return mm * 96.0 / 25.4;
}

qreal MmToDevice(qreal mm, qreal dpi)
{
    return mm * dpi / 25.4;
}

QString SortKey(const QString &term)
{
    QString key = term.toUpper();
    if (key.startsWith(u'#'))
        key.remove(0, 1);
    return key;
}

} // namespace

TManualDocument::TManualDocument(const TExpandedManual &manual, const TManualInfo &info)
    : m_info(info)
    , m_bodyHtml(MarkdownToHtml(manual.markdown))
    , m_figures(manual.figures)
{
    m_headings << THeading{1, QStringLiteral("Contents")} << manual.headings << THeading{1, QStringLiteral("Index")};
    for (qsizetype h = 0; h < manual.headings.size(); ++h) {
        if (manual.headings[h].level != 3)
            continue;
        for (const QString &term : manual.headings[h].text.split(QStringLiteral(", ")))
            m_index << TIndexTerm{term, static_cast<int>(h) + 1};
    }
    std::stable_sort(m_index.begin(), m_index.end(),
                     [](const TIndexTerm &a, const TIndexTerm &b) { return SortKey(a.term) < SortKey(b.term); });
}

QString TManualDocument::PageOf(int heading) const
{
    return m_pages.isEmpty() ? QStringLiteral("000") : QString::number(m_pages[heading]);
}

QString TManualDocument::TitleHtml() const
{
    const QString logo = m_info.logo.isNull()
        ? QString()
        : QStringLiteral("<p align=\"center\"><img src=\"velmo:logo\" width=\"%1\"></p>").arg(m_info.logo.width() * 2);
    return QStringLiteral("<p style=\"margin-top: 180px\"> </p>%1"
                          "<p align=\"center\" class=\"title\" style=\"margin-top: 40px\">%2</p>"
                          "<p align=\"center\" class=\"subtitle\">%3</p>")
        .arg(logo, EscapeHtml(m_info.title), EscapeHtml(m_info.subtitle));
}

QString TManualDocument::ContentsHtml() const
{
    QString html = QStringLiteral("<h1>Contents</h1><table width=\"100%\" border=\"0\" cellspacing=\"0\" "
                                  "cellpadding=\"2\">");
    for (qsizetype h = 1; h < m_headings.size(); ++h) {
        const THeading &heading = m_headings[h];
        if (heading.level > 2)
            continue;
        const QString cls = heading.level == 1 ? QStringLiteral("toc1") : QStringLiteral("toc2");
        html += QStringLiteral("<tr><td class=\"%1\">%2</td><td class=\"%1\" align=\"right\">%3</td></tr>")
                    .arg(cls, EscapeHtml(heading.text), PageOf(static_cast<int>(h)));
    }
    return html + QStringLiteral("</table>");
}

QString TManualDocument::IndexHtml() const
{
    QString html = QStringLiteral("<h1>Index</h1><p>Every keyword of the language, with the page of its entry.</p>"
                                  "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\">");
    const qsizetype rows = (m_index.size() + kIndexColumns - 1) / kIndexColumns;
    for (qsizetype r = 0; r < rows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < kIndexColumns; ++c) {
            const qsizetype i = c * rows + r;
            if (i < m_index.size())
                html += QStringLiteral(
                            "<td><code>%1</code></td><td align=\"right\" class=\"page\">%2&nbsp;&nbsp;&nbsp;</td>")
                            .arg(EscapeHtml(m_index[i].term), PageOf(m_index[i].heading));
            else
                html += QStringLiteral("<td></td><td></td>");
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

void TManualDocument::SetHtml(QPagedPaintDevice &device)
{
    m_document.setDefaultStyleSheet(QString::fromLatin1(kStyleSheet));
    m_document.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 10));
    m_document.documentLayout()->setPaintDevice(&device);
    m_document.setPageSize(QSizeF(device.width(), device.height()));
    m_document.setHtml(TitleHtml() + ContentsHtml() + m_bodyHtml + IndexHtml());
    if (!m_info.logo.isNull())
        m_document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("velmo:logo")), m_info.logo);
    AddFigures(device);
    QTextFrameFormat root = m_document.rootFrame()->frameFormat();
    root.setTopMargin(MmToPoints96(kTopMm));
    root.setBottomMargin(MmToPoints96(kBottomMm));
    root.setLeftMargin(MmToPoints96(kLeftMm));
    root.setRightMargin(MmToPoints96(kRightMm));
    m_document.rootFrame()->setFrameFormat(root);
}

// The pictures' images, each scaled down to fit the text's width and a part
// of its height.
void TManualDocument::AddFigures(QPagedPaintDevice &device)
{
    const qreal toPoints96 = 96.0 / device.logicalDpiX();
    const QSizeF room(device.width() * toPoints96 - MmToPoints96(kLeftMm + kRightMm),
                      (device.height() * toPoints96 - MmToPoints96(kTopMm + kBottomMm)) * kFigureHeightShare);
    for (const TFigure &figure : m_figures)
        m_document.addResource(QTextDocument::ImageResource, QUrl(figure.path), figure.image);
    QList<int> positions;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (IsFigure(block))
            positions << block.position();
    }
    for (const int position : positions) {
        QTextCursor cursor(&m_document);
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        QTextImageFormat format = cursor.charFormat().toImageFormat();
        QSizeF size = m_document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>().size();
        if (size.width() > room.width() || size.height() > room.height())
            size.scale(room, Qt::KeepAspectRatio);
        format.setWidth(size.width());
        format.setHeight(size.height());
        cursor.setCharFormat(format);
    }
}

// A block that holds nothing but one of the pictures.
bool TManualDocument::IsFigure(const QTextBlock &block) const
{
    if (block.length() != 2)
        return false;
    const QTextCharFormat format = block.begin().fragment().charFormat();
    if (!format.isImageFormat())
        return false;
    const QString name = format.toImageFormat().name();
    return std::any_of(m_figures.begin(), m_figures.end(), [&](const TFigure &f) { return f.path == name; });
}

bool TManualDocument::FindHeadingPages(QList<int> &pages, QString &error) const
{
    pages.clear();
    QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 3)
            continue;
        const qsizetype i = pages.size();
        if (i >= m_headings.size() || m_headings[i].text != block.text()) {
            error = QStringLiteral("heading %1 of the laid-out text is '%2', not '%3'")
                        .arg(QString::number(i + 1), block.text(), i < m_headings.size() ? m_headings[i].text : "");
            return false;
        }
        pages << static_cast<int>(layout->blockBoundingRect(block).top() / m_pageHeight) + 1;
    }
    if (pages.size() != m_headings.size()) {
        error = QStringLiteral("the laid-out text has %1 headings, not %2").arg(pages.size()).arg(m_headings.size());
        return false;
    }
    return true;
}

// The bottom of what a heading introduces: the table (an entry's syntax box,
// an example) or the first lines of the text after it, past any further
// headings.
qreal TManualDocument::UnitBottom(QTextBlock next) const
{
    while (next.blockFormat().headingLevel() > 0 && next.next().isValid())
        next = next.next();
    QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    if (QTextTable *table = QTextCursor(next).currentTable())
        return layout->frameBoundingRect(table).bottom();
    const QRectF rect = layout->blockBoundingRect(next);
    return std::min(rect.bottom(), rect.top() + m_pageHeight / 8);
}

// A heading whose text would begin on the next page starts that page, so no
// heading is left at the foot of a page and no entry's syntax box is cut.
void TManualDocument::KeepHeadingsWithTheirText()
{
    QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() < 2 || !block.next().isValid())
            continue;
        const qreal top = layout->blockBoundingRect(block).top();
        const qreal bottom = UnitBottom(block.next());
        if (int(top / m_pageHeight) == int(bottom / m_pageHeight) || bottom - top > m_pageHeight / 2)
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

// A picture whose caption would fall on the next page starts that page.
void TManualDocument::KeepFiguresOnOnePage()
{
    QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (!IsFigure(block) || !block.next().isValid())
            continue;
        const qreal top = layout->blockBoundingRect(block).top();
        const qreal bottom = layout->blockBoundingRect(block.next()).bottom();
        if (int(top / m_pageHeight) == int(bottom / m_pageHeight))
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

void TManualDocument::LayOutAnew()
{
    // Moving headings and pictures to the next page laid out only what each
    // move changed; the painting
    // finds where a page begins from the positions the layout recorded,
    // which are right again only after the whole text is laid out anew
    // (without it, a page could lose the text above its first table).
    m_document.markContentsDirty(0, m_document.characterCount());
    m_document.documentLayout()->documentSize();
}

// The page numbers change the contents and the index only when they grow by
// a digit, so the layout settles after two or three rounds.
bool TManualDocument::Layout(QPagedPaintDevice &device, QString &error)
{
    m_dpi = device.logicalDpiY();
    m_pageHeight = device.height();
    m_pages.clear();
    for (int round = 0; round < 4; ++round) {
        SetHtml(device);
        KeepHeadingsWithTheirText();
        KeepFiguresOnOnePage();
        LayOutAnew();
        QList<int> pages;
        if (!FindHeadingPages(pages, error))
            return false;
        if (pages == m_pages)
            return true;
        m_pages = pages;
    }
    error = QStringLiteral("the page numbers did not settle");
    return false;
}

QString TManualDocument::PlainText() const
{
    QString text = m_document.toPlainText();
    for (const TFigure &figure : m_figures)
        text.replace(QChar(QChar::ObjectReplacementCharacter) + u'\n' + figure.caption, u'[' + figure.caption + u']');
    return text;
}

QList<TManualDocument::TFigureBox> TManualDocument::FigureBoxes() const
{
    QList<TFigureBox> boxes;
    QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (!IsFigure(block) || !block.next().isValid() || block.layout()->lineCount() != 1)
            continue;
        const QTextLine line = block.layout()->lineAt(0);
        const QPointF origin = block.layout()->position();
        const QRectF image(origin.x() + line.cursorToX(0), origin.y() + line.y(), line.naturalTextWidth(),
                           line.ascent());
        boxes << TFigureBox{image, layout->blockBoundingRect(block.next())};
    }
    return boxes;
}

QString TManualDocument::RunningHead(int page) const
{
    QString head;
    for (qsizetype h = 0; h < m_headings.size(); ++h) {
        if (m_headings[h].level != 1 || m_pages[h] > page)
            continue;
        head = m_pages[h] == page ? QString() : m_headings[h].text;
    }
    return head;
}

void TManualDocument::PaintMargins(QPainter &painter, int page, const QRectF &pageRect) const
{
    const qreal left = MmToDevice(kLeftMm, m_dpi);
    const qreal right = pageRect.width() - MmToDevice(kRightMm, m_dpi);
    const qreal headY = MmToDevice(kTopMm * 0.55, m_dpi);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    painter.setPen(QColor(0x3a, 0x5a, 0x7a));
    const QString head = RunningHead(page);
    if (!head.isEmpty()) {
        const QRectF headRect(left, 0, right - left, headY);
        painter.drawText(headRect, Qt::AlignLeft | Qt::AlignBottom, head);
        painter.drawText(headRect, Qt::AlignRight | Qt::AlignBottom, m_info.title);
        painter.setPen(QPen(QColor(0x9f, 0xb0, 0xc2), m_dpi / 150.0));
        const qreal ruleY = headY + MmToDevice(1.5, m_dpi);
        painter.drawLine(QPointF(left, ruleY), QPointF(right, ruleY));
    }
    painter.setPen(QColor(0x3a, 0x5a, 0x7a));
    const qreal footTop = pageRect.height() - MmToDevice(kBottomMm * 0.6, m_dpi);
    painter.drawText(QRectF(left, footTop, right - left, MmToDevice(6, m_dpi)), Qt::AlignHCenter | Qt::AlignTop,
                     QString::number(page));
}

void TManualDocument::Paint(QPainter &painter, QPagedPaintDevice &device) const
{
    const QRectF pageRect(0, 0, device.width(), device.height());
    const int pages = m_document.pageCount();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        painter.save();
        painter.translate(0, -(page - 1) * m_pageHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = pageRect.translated(0, (page - 1) * m_pageHeight);
        m_document.documentLayout()->draw(&painter, context);
        painter.restore();
        if (page > 1)
            PaintMargins(painter, page, pageRect);
    }
}

bool WriteManual(const TExpandedManual &manual, const TManualInfo &info, const QString &pdfFile,
                 const QString &textFile, QString &error)
{
    QSaveFile pdf(pdfFile);
    if (!pdf.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("can't write '%1': %2").arg(pdfFile, pdf.errorString());
        return false;
    }
    QPdfWriter writer(&pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    writer.setTitle(info.title);
    writer.setCreator(info.subtitle);
    TManualDocument document(manual, info);
    if (!document.Layout(writer, error))
        return false;
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::LosslessImageRendering); // screenshots stay sharp
    document.Paint(painter, writer);
    painter.end();
    if (!pdf.commit()) {
        error = QStringLiteral("can't write '%1': %2").arg(pdfFile, pdf.errorString());
        return false;
    }
    if (textFile.isEmpty())
        return true;
    QSaveFile text(textFile);
    if (!text.open(QIODevice::WriteOnly) || text.write(document.PlainText().toUtf8()) < 0 || !text.commit()) {
        error = QStringLiteral("can't write '%1': %2").arg(textFile, text.errorString());
        return false;
    }
    return true;
}
