#include "DiagnosticMarks.h"

#include "MarginPoint.h"

#include <Qsci/qsciscintilla.h>

#include <QToolTip>

#include <tuple>

namespace {

const QColor kErrorColor(220, 0, 0);
const QColor kWarningColor(230, 140, 0);

bool IsError(const TSourceDiagnostic &diagnostic)
{
    return diagnostic.severity == TSourceDiagnostic::TSeverity::Error;
}

} // namespace

TDiagnosticMarks::TDiagnosticMarks(QsciScintilla *editor)
    : QObject(editor)
    , m_editor(editor)
{
    setObjectName(QStringLiteral("DiagnosticMarks"));
    Configure();
    connect(editor, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int, int x, int y) { Dwell(x, y); });
    connect(editor, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
}

TDiagnosticMarks *TDiagnosticMarks::Of(const QsciScintilla *editor)
{
    return editor ? editor->findChild<TDiagnosticMarks *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void TDiagnosticMarks::Configure()
{
    const struct {
        int indicator;
        int marker;
        QColor color;
    } kinds[] = {{kErrorIndicator, kErrorMarker, kErrorColor}, {kWarningIndicator, kWarningMarker, kWarningColor}};
    int mask = 0;
    for (const auto &kind : kinds) {
        m_editor->indicatorDefine(QsciScintilla::SquigglePixmapIndicator, kind.indicator);
        m_editor->setIndicatorForegroundColor(kind.color, kind.indicator);
        m_editor->markerDefine(QsciScintilla::Circle, kind.marker);
        m_editor->setMarkerBackgroundColor(kind.color, kind.marker);
        m_editor->setMarkerForegroundColor(kind.color.darker(), kind.marker);
        mask |= 1 << kind.marker;
    }
    // The markers show in their own margin only.
    for (int margin = 0; margin < m_editor->margins(); ++margin)
        m_editor->setMarginMarkerMask(margin, m_editor->marginMarkerMask(margin) & ~mask);
    m_editor->setMarginType(kMargin, QsciScintilla::SymbolMargin);
    m_editor->setMarginMarkerMask(kMargin, mask);
    m_editor->setMarginWidth(kMargin, kMarginWidth);
    m_editor->SendScintilla(QsciScintillaBase::SCI_SETMOUSEDWELLTIME, kDwellMs);
}

void TDiagnosticMarks::Show(const TSourceDiagnostics &diagnostics)
{
    const long length = m_editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    for (const int indicator : {kErrorIndicator, kWarningIndicator}) {
        m_editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, indicator);
        m_editor->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, length);
    }
    m_editor->markerDeleteAll(kErrorMarker);
    m_editor->markerDeleteAll(kWarningMarker);
    m_shown = diagnostics;
    m_markerHandles.clear();
    for (int i = 0; i < m_shown.size(); ++i)
        Underline(i, m_shown[i]);
}

// The underline carries the message's number (from 1) as its value.
void TDiagnosticMarks::Underline(int index, const TSourceDiagnostic &diagnostic)
{
    const long start = PositionOf(diagnostic.startLine, diagnostic.startCharacter);
    long end = PositionOf(diagnostic.endLine, diagnostic.endCharacter);
    if (end <= start) // an empty range: the character after it, if any
        end = qMin(start + 1, long(m_editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH)));
    m_editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT,
                            IsError(diagnostic) ? kErrorIndicator : kWarningIndicator);
    m_editor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORVALUE, index + 1);
    m_editor->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, start, end - start);
    const int line = int(m_editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    m_markerHandles.append(m_editor->markerAdd(line, IsError(diagnostic) ? kErrorMarker : kWarningMarker));
}

// A place the engine names (characters from the start of a line), kept
// within the text: a line past the end is the last line, a character past
// the end of its line the line's end.
long TDiagnosticMarks::PositionOf(int line, int character) const
{
    line = qBound(0, line, qMax(0, m_editor->lines() - 1));
    const long lineStart = m_editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const long lineEnd = m_editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    const long position = m_editor->SendScintilla(QsciScintillaBase::SCI_POSITIONRELATIVE, lineStart, character);
    return position < lineStart || position > lineEnd || (position == 0 && character > 0) ? lineEnd : position;
}

QString TDiagnosticMarks::ToolTipAt(QPoint point) const
{
    if (point.x() < MarginLeft(*m_editor, m_editor->margins()))
        return MessagesOnLine(NearestLine(*m_editor, point));
    const long position = m_editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE, point.x(), point.y());
    return position < 0 ? QString() : MessageAt(position);
}

// The messages underlined where the one under the position is: a line the
// compiler finds several faults in has them all on one range.
QString TDiagnosticMarks::MessageAt(long position) const
{
    for (const int indicator : {kErrorIndicator, kWarningIndicator}) {
        const long value = m_editor->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, indicator, position);
        if (value <= 0 || value > m_shown.size())
            continue;
        const TSourceDiagnostic &under = m_shown[value - 1];
        QStringList messages;
        for (const TSourceDiagnostic &diagnostic : m_shown) {
            if (std::tie(diagnostic.startLine, diagnostic.startCharacter, diagnostic.endLine,
                         diagnostic.endCharacter) ==
                std::tie(under.startLine, under.startCharacter, under.endLine, under.endCharacter))
                messages.append(diagnostic.message);
        }
        return messages.join(u'\n');
    }
    return QString();
}

QString TDiagnosticMarks::MessagesOnLine(int line) const
{
    QStringList messages;
    for (int i = 0; i < m_markerHandles.size(); ++i) {
        if (m_editor->markerLine(m_markerHandles[i]) == line)
            messages.append(m_shown[i].message);
    }
    return messages.join(u'\n');
}

void TDiagnosticMarks::Dwell(int x, int y)
{
    const QString tip = ToolTipAt(QPoint(x, y));
    if (!tip.isEmpty())
        QToolTip::showText(m_editor->viewport()->mapToGlobal(QPoint(x, y)), tip, m_editor->viewport());
}
