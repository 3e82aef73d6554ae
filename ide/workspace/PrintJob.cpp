#include "PrintJob.h"

#include "Errors.h"

#include <Qsci/qsciscintilla.h>

#include <QCoreApplication>
#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <memory>
#include <vector>

namespace {

using Sci = QsciScintillaBase;

constexpr int DecorationPointSize = 8;
constexpr int DecorationGap = 4; // pixels at 72 dpi, scaled to the printer
constexpr int FontNameBuffer = 256;

QFont DecorationFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(DecorationPointSize);
    font.setStyleStrategy(QFont::PreferNoShaping); // file names without ligatures
    return font;
}

// The look of one text style, saved to be put back after a print.
struct TStyleState {
    QByteArray Font;
    long SizeFractional = 0;
    long Weight = 0;
    long Italic = 0;
};

struct TMarginState {
    long Type = 0;
    long Width = 0;
};

// Gives the editor the print font, the colour mode and the line-number
// margin of a job for the time of one print, hides the editor's guides (the
// column-80 line is drawn into printed pages otherwise), and restores its own
// look afterwards.
class TPrintLook {
public:
    TPrintLook(QsciScintilla &editor, const TPrintJobSettings &settings)
        : m_editor(editor)
    {
        SaveStyles();
        SaveMargins();
        m_colourMode = Send(Sci::SCI_GETPRINTCOLOURMODE);
        m_edgeMode = Send(Sci::SCI_GETEDGEMODE);
        m_indentGuides = Send(Sci::SCI_GETINDENTATIONGUIDES);
        Send(Sci::SCI_SETEDGEMODE, Sci::EDGE_NONE);
        Send(Sci::SCI_SETINDENTATIONGUIDES, Sci::SC_IV_NONE);
        ApplyStyles(settings);
        ApplyMargins(settings.LineNumbers);
        Send(Sci::SCI_SETPRINTCOLOURMODE, settings.Colors ? Sci::SC_PRINT_COLOURONWHITE : Sci::SC_PRINT_BLACKONWHITE);
    }

    ~TPrintLook()
    {
        Send(Sci::SCI_SETPRINTCOLOURMODE, m_colourMode);
        Send(Sci::SCI_SETEDGEMODE, static_cast<unsigned long>(m_edgeMode));
        Send(Sci::SCI_SETINDENTATIONGUIDES, static_cast<unsigned long>(m_indentGuides));
        RestoreMargins();
        RestoreStyles();
    }

    TPrintLook(const TPrintLook &) = delete;
    TPrintLook &operator=(const TPrintLook &) = delete;

private:
    long Send(unsigned msg, unsigned long w = 0, long l = 0) const
    {
        return m_editor.SendScintilla(msg, w, l);
    }

    void SaveStyles()
    {
        m_styles.resize(Sci::STYLE_MAX + 1);
        for (unsigned style = 0; style <= Sci::STYLE_MAX; ++style) {
            TStyleState &state = m_styles[style];
            char name[FontNameBuffer] = {};
            if (Send(Sci::SCI_STYLEGETFONT, style, 0) < FontNameBuffer)
                m_editor.SendScintilla(Sci::SCI_STYLEGETFONT, style, static_cast<void *>(name));
            state.Font = name;
            state.SizeFractional = Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, style);
            state.Weight = Send(Sci::SCI_STYLEGETWEIGHT, style);
            state.Italic = Send(Sci::SCI_STYLEGETITALIC, style);
        }
    }

    void ApplyStyles(const TPrintJobSettings &settings)
    {
        const QByteArray font = settings.FontName.toUtf8();
        for (unsigned style = 0; style <= Sci::STYLE_MAX; ++style) {
            m_editor.SendScintilla(Sci::SCI_STYLESETFONT, style, font.constData());
            Send(Sci::SCI_STYLESETSIZEFRACTIONAL, style, settings.FontSize * Sci::SC_FONT_SIZE_MULTIPLIER);
            if (!settings.Colors) {
                Send(Sci::SCI_STYLESETWEIGHT, style, Sci::SC_WEIGHT_NORMAL);
                Send(Sci::SCI_STYLESETITALIC, style, 0);
            }
        }
    }

    void RestoreStyles()
    {
        for (unsigned style = 0; style <= Sci::STYLE_MAX; ++style) {
            const TStyleState &state = m_styles[style];
            if (!state.Font.isEmpty())
                m_editor.SendScintilla(Sci::SCI_STYLESETFONT, style, state.Font.constData());
            Send(Sci::SCI_STYLESETSIZEFRACTIONAL, style, state.SizeFractional);
            Send(Sci::SCI_STYLESETWEIGHT, style, state.Weight);
            Send(Sci::SCI_STYLESETITALIC, style, state.Italic);
        }
    }

    void SaveMargins()
    {
        const long count = Send(Sci::SCI_GETMARGINS);
        for (long margin = 0; margin < count; ++margin)
            m_margins.push_back({Send(Sci::SCI_GETMARGINTYPEN, margin), Send(Sci::SCI_GETMARGINWIDTHN, margin)});
    }

    // Scintilla prints only a line-number margin of non-zero width.
    void ApplyMargins(bool lineNumbers)
    {
        for (size_t margin = 0; margin < m_margins.size(); ++margin) {
            if (m_margins[margin].Type == Sci::SC_MARGIN_NUMBER && !lineNumbers)
                Send(Sci::SCI_SETMARGINWIDTHN, margin, 0);
        }
        if (lineNumbers && !HasNumberMargin() && !m_margins.empty()) {
            Send(Sci::SCI_SETMARGINTYPEN, 0, Sci::SC_MARGIN_NUMBER);
            Send(Sci::SCI_SETMARGINWIDTHN, 0, 1);
        }
    }

    bool HasNumberMargin() const
    {
        for (const TMarginState &state : m_margins) {
            if (state.Type == Sci::SC_MARGIN_NUMBER && state.Width > 0)
                return true;
        }
        return false;
    }

    void RestoreMargins()
    {
        for (size_t margin = 0; margin < m_margins.size(); ++margin) {
            Send(Sci::SCI_SETMARGINTYPEN, margin, m_margins[margin].Type);
            Send(Sci::SCI_SETMARGINWIDTHN, margin, m_margins[margin].Width);
        }
    }

    QsciScintilla &m_editor;
    std::vector<TStyleState> m_styles;
    std::vector<TMarginState> m_margins;
    long m_colourMode = 0;
    long m_edgeMode = 0;
    long m_indentGuides = 0;
};

// The printer prints whole lines up to the line holding the end position; a
// selection that ends at the start of a line does not take that line in.
long EndOfSelectedLines(const QsciScintilla &editor, long selStart, long selEnd)
{
    const long line = editor.SendScintilla(Sci::SCI_LINEFROMPOSITION, selEnd);
    const long lineStart = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    return (selEnd == lineStart && selEnd - 1 > selStart) ? selEnd - 1 : selEnd;
}

} // namespace

TEditorPrinter::TEditorPrinter()
    : QsciPrinter(QPrinter::HighResolution)
{
}

void TEditorPrinter::Fail(const QString &reason) const
{
    const QString title = m_job ? m_job->DocumentTitle : QString();
    throw EKorvidError(QStringLiteral("Unable to print \"%1\": %2").arg(title, reason));
}

void TEditorPrinter::PrintText(QsciScintillaBase &editor, long start, long end, const TPrintJobSettings &settings)
{
    m_job = &settings;
    const std::unique_ptr<TEditorPrinter, void (*)(TEditorPrinter *)> jobScope(
        this, [](TEditorPrinter *printer) { printer->m_job = nullptr; });
    m_fields = {settings.Title, QDate::currentDate().toString(Qt::ISODate), 0, 0};
    setDocName(settings.DocumentTitle);
    setPrintRange(QPrinter::AllPages);
    setFromTo(0, 0);
    editor.SendScintilla(Sci::SCI_SETPRINTMAGNIFICATION, magnification());
    editor.SendScintilla(Sci::SCI_SETPRINTWRAPMODE, wrapMode());
    if (outputFormat() == QPrinter::PdfFormat && outputFileName().isEmpty())
        Fail(QStringLiteral("no printer is available. Choose a printer or a PDF file "
                            "with \"Printer Setup...\"."));
    QPainter painter;
    if (!painter.begin(this))
        Fail(QStringLiteral("the printer could not be opened."));
    m_fields.PageCount = RunPages(editor, painter, start, end, false);
    RunPages(editor, painter, start, end, true);
    const bool ended = painter.end();
    if (!ended || printerState() == QPrinter::Error)
        Fail(QStringLiteral("the printer refused the job."));
}

// One pass over the pages; a text without characters still gets one page
// with its header and footer.
int TEditorPrinter::RunPages(QsciScintillaBase &editor, QPainter &painter, long start, long end, bool render)
{
    const QRect page(0, 0, width(), height());
    int pageNumber = 0;
    long pos = start;
    do {
        ++pageNumber;
        if (render && pageNumber > 1 && !newPage())
            Fail(QStringLiteral("the printer refused a page."));
        QRect area = page;
        formatPage(painter, render, area, pageNumber);
        const long next = editor.SendScintilla(Sci::SCI_FORMATRANGE, render, &painter, area, pos, end);
        if (next <= pos)
            break;
        pos = next;
    } while (pos < end);
    return pageNumber;
}

void TEditorPrinter::formatPage(QPainter &painter, bool drawing, QRect &area, int pageNumber)
{
    if (!m_job)
        return;
    m_fields.PageNumber = pageNumber;
    const QFont font = DecorationFont();
    const QFontMetrics metrics(font, painter.device());
    const int lineHeight = metrics.height();
    const int gap = DecorationGap * painter.device()->logicalDpiY() / 72;
    const QRect header(area.left(), area.top(), area.width(), lineHeight);
    const QRect footer(area.left(), area.bottom() - lineHeight + 1, area.width(), lineHeight);
    area.setTop(header.bottom() + 1 + 2 * gap);
    area.setBottom(footer.top() - 1 - 2 * gap);
    if (!drawing)
        return;
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, ExpandPrintFields(m_job->HeaderLeft, m_fields));
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, ExpandPrintFields(m_job->HeaderRight, m_fields));
    painter.drawLine(header.left(), header.bottom() + gap, header.right(), header.bottom() + gap);
    painter.drawLine(footer.left(), footer.top() - gap, footer.right(), footer.top() - gap);
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, ExpandPrintFields(m_job->FooterLeft, m_fields));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, ExpandPrintFields(m_job->FooterRight, m_fields));
    painter.restore();
}

void PrintEditor(QsciScintilla &editor, const TPrintJobSettings &settings, TEditorPrinter &printer)
{
    long start = 0;
    long end = editor.SendScintilla(Sci::SCI_GETLENGTH);
    if (settings.SelectedOnly) {
        const long selStart = editor.SendScintilla(Sci::SCI_GETSELECTIONSTART);
        const long selEnd = editor.SendScintilla(Sci::SCI_GETSELECTIONEND);
        if (selStart < selEnd) {
            start = selStart;
            end = EndOfSelectedLines(editor, selStart, selEnd);
        }
    }
    const TPrintLook look(editor, settings);
    printer.PrintText(editor, start, end, settings);
}
