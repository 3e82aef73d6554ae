#pragma once

#include <QList>
#include <QObject>

class QsciScintilla;

// The breakpoints of one editor and the place where a debugged program
// stands, as markers in a symbol margin of their own. A click in the margin
// toggles a breakpoint; the markers move with their lines while the text is
// edited, so the lines are always read back from them. Lines are 1-based.
class TBreakpointMargin : public QObject {
    Q_OBJECT
public:
    static constexpr int kMargin = 3;
    static constexpr int kBreakpointMarker = 22;
    static constexpr int kCurrentArrowMarker = 23;
    static constexpr int kCurrentLineMarker = 24; // the line's background
    static constexpr int kErrorLineMarker = 25; // a runtime error's line

    explicit TBreakpointMargin(QsciScintilla *editor);

    void Toggle(int line);
    QList<int> Lines() const; // ascending
    // Where the program stands (0: it does not stand in this file).
    void ShowCurrentLine(int line);
    int CurrentLine() const;
    // The line of a runtime error (0: none).
    void ShowErrorLine(int line);
    int ErrorLine() const;

signals:
    // The user added or removed a breakpoint.
    void Changed();

private:
    void MarginClicked(int margin, int line);
    int MarkedLine(int marker) const;
    void MarkOneLine(int line, std::initializer_list<int> markers);

    QsciScintilla *m_editor;
};
