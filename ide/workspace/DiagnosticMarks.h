#pragma once

#include "SourceDiagnostic.h"

#include <QObject>
#include <QPoint>

class QsciScintilla;

// The language engine's messages shown in an editor: a wavy underline over
// the text each one is about, a marker in a margin of its own on the line,
// and the message as a tool tip when the mouse rests on either. Errors are
// red, warnings and notes orange. Underline and marker move with the text
// as the user edits it, until the next messages replace them.
class TDiagnosticMarks : public QObject {
    Q_OBJECT
public:
    static constexpr int kErrorIndicator = 10;
    static constexpr int kWarningIndicator = 11;
    static constexpr int kErrorMarker = 20;
    static constexpr int kWarningMarker = 21;
    static constexpr int kMargin = 2; // beside the breakpoints (3)
    static constexpr int kMarginWidth = 14;
    static constexpr int kDwellMs = 400;

    // Sets the editor up for the marks; the object lives as long as the
    // editor (its child).
    explicit TDiagnosticMarks(QsciScintilla *editor);
    // The marks of an editor, if it has any.
    static TDiagnosticMarks *Of(const QsciScintilla *editor);

    // Replaces what is shown by these messages; an empty list clears it.
    void Show(const TSourceDiagnostics &diagnostics);
    const TSourceDiagnostics &Shown() const
    {
        return m_shown;
    }
    // The tool tip for a point of the editor's viewport: the messages on the
    // line when it is in the margin, otherwise the message of the underlined
    // text under it; empty when there is none.
    QString ToolTipAt(QPoint point) const;

private:
    void Configure();
    void Underline(int index, const TSourceDiagnostic &diagnostic);
    long PositionOf(int line, int character) const;
    QString MessageAt(long position) const;
    QString MessagesOnLine(int line) const;
    void Dwell(int x, int y);

    QsciScintilla *m_editor;
    TSourceDiagnostics m_shown;
    QList<int> m_markerHandles; // one for each message shown
};
