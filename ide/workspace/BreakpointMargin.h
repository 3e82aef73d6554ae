#pragma once

#include "SourceBreakpoint.h"

#include <QHash>
#include <QList>
#include <QObject>

class QPoint;
class QsciScintilla;

// The breakpoints of one editor and the place where a debugged program
// stands, as markers in a symbol margin of their own. A click in the margin
// toggles a breakpoint, a right-click asks to edit it (EditRequested); a
// breakpoint with a condition or a hit count has a marker of its own. The
// markers move with their lines while the text is edited, so the lines are
// always read back from them. Lines are 1-based.
class TBreakpointMargin : public QObject {
    Q_OBJECT
public:
    static constexpr int kMargin = 3;
    static constexpr int kBreakpointMarker = 22;
    static constexpr int kCurrentArrowMarker = 23;
    static constexpr int kCurrentLineMarker = 24; // the line's background
    static constexpr int kErrorLineMarker = 25; // a runtime error's line
    static constexpr int kConditionalMarker = 26; // a breakpoint with a condition or a hit count

    explicit TBreakpointMargin(QsciScintilla *editor);

    void Toggle(int line);
    // Sets the breakpoint of the line (replacing one there).
    void Set(const TSourceBreakpoint &breakpoint);
    // The breakpoint of a line, if there is one.
    const TSourceBreakpoint *At(int line) const;
    TSourceBreakpoints Breakpoints() const; // ascending lines, one a line
    QList<int> Lines() const; // ascending
    // Why the debugger did not set the line's breakpoint ("" once it did);
    // forgotten when the breakpoint changes.
    void SetRefusal(int line, const QString &message);
    QString Refusal(int line) const;

    // Where the program stands (0: it does not stand in this file).
    void ShowCurrentLine(int line);
    int CurrentLine() const;
    // The line of a runtime error (0: none).
    void ShowErrorLine(int line);
    int ErrorLine() const;
    // A right-click at a point of the editor's viewport: true when it is in
    // the margin beside a line, which EditRequested then names.
    bool ContextClick(const QPoint &point);
    // What the marker's tip says: the condition, the hit count, a refusal.
    QString ToolTip(int line) const;

signals:
    // The user added, removed or changed a breakpoint.
    void Changed();
    void EditRequested(int line);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TMark {
        TSourceBreakpoint breakpoint; // its line is read from the marker
        QString refusal;
    };
    void MarginClicked(int margin, int line);
    int MarginLine(const QPoint &point) const; // 0: not in the margin
    void Remove(int line);
    int HandleAt(int line) const;
    int MarkedLine(int marker) const;
    void MarkOneLine(int line, std::initializer_list<int> markers);

    QsciScintilla *m_editor;
    QHash<int, TMark> m_marks; // by marker handle
};
