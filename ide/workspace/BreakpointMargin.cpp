#include "BreakpointMargin.h"

#include "MarginPoint.h"

#include <Qsci/qsciscintilla.h>

#include <QHelpEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

#include <algorithm>

namespace {

const QColor kBreakpointColor(0xC8, 0x1E, 0x1E);
const QColor kCurrentLineBack(0xFF, 0xF1, 0x9C);
const QColor kArrowColor(0xE0, 0xA0, 0x00);
const QColor kErrorLineBack(0xFF, 0xC8, 0xC8);
constexpr int kMarginWidth = 14;
constexpr int kSymbolSize = 12;

unsigned MaskOf(std::initializer_list<int> markers)
{
    unsigned mask = 0;
    for (int marker : markers)
        mask |= 1u << marker;
    return mask;
}

// The conditional breakpoint: the breakpoint's disc with a white bar across.
QPixmap ConditionalSymbol()
{
    QPixmap pixmap(kSymbolSize, kSymbolSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBreakpointColor);
    painter.drawEllipse(QRectF(0.5, 0.5, kSymbolSize - 1, kSymbolSize - 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, kSymbolSize / 2.0 - 1.5, kSymbolSize - 5, 3));
    return pixmap;
}

} // namespace

TBreakpointMargin::TBreakpointMargin(QsciScintilla *editor)
    : QObject(editor)
    , m_editor(editor)
{
    editor->setMarginType(kMargin, QsciScintilla::SymbolMargin);
    editor->setMarginWidth(kMargin, kMarginWidth);
    editor->setMarginSensitivity(kMargin, true);
    editor->setMarginMarkerMask(kMargin,
                                static_cast<int>(MaskOf({kBreakpointMarker, kConditionalMarker, kCurrentArrowMarker})));
    editor->markerDefine(QsciScintilla::Circle, kBreakpointMarker);
    editor->setMarkerBackgroundColor(kBreakpointColor, kBreakpointMarker);
    editor->setMarkerForegroundColor(kBreakpointColor, kBreakpointMarker);
    editor->markerDefine(ConditionalSymbol(), kConditionalMarker);
    editor->markerDefine(QsciScintilla::RightArrow, kCurrentArrowMarker);
    editor->setMarkerBackgroundColor(kArrowColor, kCurrentArrowMarker);
    editor->markerDefine(QsciScintilla::Background, kCurrentLineMarker);
    editor->setMarkerBackgroundColor(kCurrentLineBack, kCurrentLineMarker);
    editor->markerDefine(QsciScintilla::Background, kErrorLineMarker);
    editor->setMarkerBackgroundColor(kErrorLineBack, kErrorLineMarker);
    editor->viewport()->installEventFilter(this);
    connect(editor, &QsciScintilla::marginClicked, this,
            [this](int margin, int line, Qt::KeyboardModifiers) { MarginClicked(margin, line); });
}

void TBreakpointMargin::MarginClicked(int margin, int line)
{
    if (margin == kMargin)
        Toggle(line + 1);
}

int TBreakpointMargin::MarginLine(const QPoint &point) const
{
    const int left = MarginLeft(*m_editor, kMargin);
    if (point.x() < left || point.x() >= left + m_editor->marginWidth(kMargin))
        return 0;
    return NearestLine(*m_editor, point) + 1;
}

bool TBreakpointMargin::ContextClick(const QPoint &point)
{
    const int line = MarginLine(point);
    if (line > 0)
        emit EditRequested(line);
    return line > 0;
}

QString TBreakpointMargin::ToolTip(int line) const
{
    const auto it = m_marks.constFind(HandleAt(line));
    if (it == m_marks.cend())
        return QString();
    QStringList parts;
    if (!it->breakpoint.condition.isEmpty())
        parts << tr("when %1").arg(it->breakpoint.condition);
    if (it->breakpoint.hitCount > 1)
        parts << tr("from hit %1").arg(it->breakpoint.hitCount);
    QString tip = parts.isEmpty() ? tr("Breakpoint") : tr("Breakpoint %1").arg(parts.join(QStringLiteral(", ")));
    if (!it->refusal.isEmpty())
        tip += QLatin1Char('\n') + tr("Not set: %1").arg(it->refusal);
    return tip;
}

bool TBreakpointMargin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = ToolTip(MarginLine(help->pos()));
    if (tip.isEmpty())
        return QObject::eventFilter(watched, event);
    QToolTip::showText(help->globalPos(), tip, m_editor->viewport());
    return true;
}

void TBreakpointMargin::Toggle(int line)
{
    if (line < 1 || line > m_editor->lines())
        return;
    if (HandleAt(line) >= 0)
        Remove(line);
    else
        m_marks.insert(m_editor->markerAdd(line - 1, kBreakpointMarker), {TSourceBreakpoint(line), QString()});
    emit Changed();
}

void TBreakpointMargin::Set(const TSourceBreakpoint &breakpoint)
{
    const int line = breakpoint.line;
    if (line < 1 || line > m_editor->lines())
        return;
    Remove(line);
    const int marker = breakpoint.Plain() ? kBreakpointMarker : kConditionalMarker;
    m_marks.insert(m_editor->markerAdd(line - 1, marker), {breakpoint, QString()});
    emit Changed();
}

// Every breakpoint of the line: edits that joined lines may have put two there.
void TBreakpointMargin::Remove(int line)
{
    for (int handle = HandleAt(line); handle >= 0; handle = HandleAt(line))
        m_marks.remove(handle);
    m_editor->markerDelete(line - 1, kBreakpointMarker);
    m_editor->markerDelete(line - 1, kConditionalMarker);
}

// A marker whose line went away with deleted text has no line (-1).
int TBreakpointMargin::HandleAt(int line) const
{
    if (line < 1)
        return -1;
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it)
        if (m_editor->markerLine(it.key()) == line - 1)
            return it.key();
    return -1;
}

const TSourceBreakpoint *TBreakpointMargin::At(int line) const
{
    const auto it = m_marks.constFind(HandleAt(line));
    return it == m_marks.cend() ? nullptr : &it->breakpoint;
}

TSourceBreakpoints TBreakpointMargin::Breakpoints() const
{
    TSourceBreakpoints list;
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        const int line = m_editor->markerLine(it.key()) + 1;
        if (line < 1)
            continue;
        TSourceBreakpoint breakpoint = it->breakpoint;
        breakpoint.line = line;
        list.append(breakpoint);
    }
    std::sort(list.begin(), list.end(), [](const auto &a, const auto &b) { return a.line < b.line; });
    list.erase(std::unique(list.begin(), list.end(), [](const auto &a, const auto &b) { return a.line == b.line; }),
               list.end());
    return list;
}

QList<int> TBreakpointMargin::Lines() const
{
    QList<int> lines;
    for (const TSourceBreakpoint &breakpoint : Breakpoints())
        lines.append(breakpoint.line);
    return lines;
}

void TBreakpointMargin::SetRefusal(int line, const QString &message)
{
    const auto it = m_marks.find(HandleAt(line));
    if (it != m_marks.end())
        it->refusal = message;
}

QString TBreakpointMargin::Refusal(int line) const
{
    const auto it = m_marks.constFind(HandleAt(line));
    return it == m_marks.cend() ? QString() : it->refusal;
}

void TBreakpointMargin::MarkOneLine(int line, std::initializer_list<int> markers)
{
    for (int marker : markers) {
        m_editor->markerDeleteAll(marker);
        if (line >= 1 && line <= m_editor->lines())
            m_editor->markerAdd(line - 1, marker);
    }
}

int TBreakpointMargin::MarkedLine(int marker) const
{
    const int line = m_editor->markerFindNext(0, 1 << marker);
    return line < 0 ? 0 : line + 1;
}

void TBreakpointMargin::ShowCurrentLine(int line)
{
    MarkOneLine(line, {kCurrentArrowMarker, kCurrentLineMarker});
}

int TBreakpointMargin::CurrentLine() const
{
    return MarkedLine(kCurrentArrowMarker);
}

void TBreakpointMargin::ShowErrorLine(int line)
{
    MarkOneLine(line, {kErrorLineMarker});
}

int TBreakpointMargin::ErrorLine() const
{
    return MarkedLine(kErrorLineMarker);
}
