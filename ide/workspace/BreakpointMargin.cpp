#include "BreakpointMargin.h"

#include <Qsci/qsciscintilla.h>

namespace {

const QColor kBreakpointColor(0xC8, 0x1E, 0x1E);
const QColor kCurrentLineBack(0xFF, 0xF1, 0x9C);
const QColor kArrowColor(0xE0, 0xA0, 0x00);
const QColor kErrorLineBack(0xFF, 0xC8, 0xC8);
constexpr int kMarginWidth = 14;

unsigned MaskOf(std::initializer_list<int> markers)
{
    unsigned mask = 0;
    for (int marker : markers)
        mask |= 1u << marker;
    return mask;
}

} // namespace

TBreakpointMargin::TBreakpointMargin(QsciScintilla *editor)
    : QObject(editor)
    , m_editor(editor)
{
    editor->setMarginType(kMargin, QsciScintilla::SymbolMargin);
    editor->setMarginWidth(kMargin, kMarginWidth);
    editor->setMarginSensitivity(kMargin, true);
    editor->setMarginMarkerMask(kMargin, static_cast<int>(MaskOf({kBreakpointMarker, kCurrentArrowMarker})));
    editor->markerDefine(QsciScintilla::Circle, kBreakpointMarker);
    editor->setMarkerBackgroundColor(kBreakpointColor, kBreakpointMarker);
    editor->setMarkerForegroundColor(kBreakpointColor, kBreakpointMarker);
    editor->markerDefine(QsciScintilla::RightArrow, kCurrentArrowMarker);
    editor->setMarkerBackgroundColor(kArrowColor, kCurrentArrowMarker);
    editor->markerDefine(QsciScintilla::Background, kCurrentLineMarker);
    editor->setMarkerBackgroundColor(kCurrentLineBack, kCurrentLineMarker);
    editor->markerDefine(QsciScintilla::Background, kErrorLineMarker);
    editor->setMarkerBackgroundColor(kErrorLineBack, kErrorLineMarker);
    connect(editor, &QsciScintilla::marginClicked, this,
            [this](int margin, int line, Qt::KeyboardModifiers) { MarginClicked(margin, line); });
}

void TBreakpointMargin::MarginClicked(int margin, int line)
{
    if (margin == kMargin)
        Toggle(line + 1);
}

void TBreakpointMargin::Toggle(int line)
{
    if (line < 1 || line > m_editor->lines())
        return;
    if (m_editor->markersAtLine(line - 1) & (1u << kBreakpointMarker))
        m_editor->markerDelete(line - 1, kBreakpointMarker);
    else
        m_editor->markerAdd(line - 1, kBreakpointMarker);
    emit Changed();
}

QList<int> TBreakpointMargin::Lines() const
{
    QList<int> lines;
    for (int line = m_editor->markerFindNext(0, 1 << kBreakpointMarker); line >= 0;
         line = m_editor->markerFindNext(line + 1, 1 << kBreakpointMarker))
        lines.append(line + 1);
    return lines;
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
