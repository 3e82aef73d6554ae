#pragma once

#include "ConsoleScreen.h"
#include "ConsoleText.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QTimer>
#include <functional>

class QScrollBar;
class TCommandRegistry;

// The console of the output panel: a self-drawn terminal over the screen
// model. Received text comes in through WriteText; after each chunk only the
// lines that changed are redrawn, and scrolling moves the pixels already
// drawn (gathered for at most a few milliseconds while data pours in). Typed characters are echoed (with Echo) and
// handed out through OnKey, the Enter key as CR and, with CRLFOut, a following LF.
//
// The lines that scrolled off stay reachable with the scroll bar and the
// mouse wheel. While the user looks back, new text does not move the view;
// scrolled back to the bottom (or on a typed key), the view follows the
// screen again; Shift+PageUp and Shift+PageDown move it by a page. The mouse
// selects text over history and screen for Copy.
class TMcuConsole : public QFrame {
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 185;
    static constexpr int kDesignHeight = 41;
    // The columns of a full HEX line: the byte pairs, the blanks after them
    // and the bytes as characters.
    static constexpr int kHexLineColumns = TConsoleScreen::kHexWidth + TConsoleScreen::kTrailingBlanks;

    explicit TMcuConsole(QWidget *parent = nullptr);
    ~TMcuConsole() override;

    void WriteText(const QByteArray &Text);
    // Clears the screen (see TConsoleScreen) and forgets the history: the
    // user's "Clear output".
    void ClearScreen();
    void SetHexMode(bool Value);
    bool HexMode() const
    {
        return m_screen.HexMode();
    }
    // A log file that cannot be opened shows the warning; no recording.
    void SetLogFile(const QString &Name);
    void SetLogging(bool Value);
    bool Logging() const
    {
        return m_screen.Logging();
    }
    QString LogFileName() const
    {
        return m_screen.LogFileName();
    }

    bool Echo = false;
    bool CRLFOut = false;
    void SetCRLFIn(bool value)
    {
        m_screen.CRLFIn = value;
    }
    bool CRLFIn() const
    {
        return m_screen.CRLFIn;
    }

    const TConsoleScreen &Screen() const
    {
        return m_screen;
    }
    int LineHeight() const
    {
        return m_lineHeight;
    }

    // --- History, selection, Copy and Save text -----------------------------
    void SetHistoryLimit(int lines)
    {
        m_screen.SetHistoryLimit(lines);
    }
    // The number of the line shown in the top row (see TConsoleScreen).
    qint64 ViewTop() const;
    // True while the view shows the screen and follows it.
    bool Following() const
    {
        return m_following;
    }
    // Shows the line numbered top in the top row; at the screen's top line
    // or below, the view follows the screen again.
    void ScrollTo(qint64 top);
    QScrollBar *ScrollBar() const
    {
        return m_scrollBar;
    }
    // The horizontal scroll bar of HEX lines wider than the console.
    QScrollBar *SideBar() const
    {
        return m_sideBar;
    }
    bool HasSelection() const
    {
        return m_hasSelection;
    }
    void Select(TConsolePlace from, TConsolePlace to);
    // The selected text, or the screen's when nothing is selected, as shown.
    QString CopyText() const;
    void Copy() const;
    // History and screen to a file, through a temporary file; throws
    // EKorvidError when the file cannot be written.
    void SaveText(const QString &fileName) const;
    // Binds the context menu's Copy and Save text... commands.
    void RegisterCommands(TCommandRegistry &commands);

    // A typed byte for the port.
    std::function<void(TMcuConsole *sender, char key)> OnKey;
    // The first failed write of the recording, at once; SetLogging(false)
    // raises it again when the recording stops.
    std::function<void(TMcuConsole *sender, const QString &error)> OnLogFailed;
    // A double-click on a line, with the line's text as shown.
    std::function<void(TMcuConsole *sender, const QString &line)> OnLineDoubleClicked;

    // "Lucida Console" at 9 points, or the system's fixed-width font at that
    // size where it is missing.
    static QFont ConsoleFont();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void DoKey(char key);
    void TypeChar(char key);
    void UpdateMetrics();
    void FitScreen();
    QRect RowRect(int row) const;
    QRect CaretRect() const;
    bool CaretShown() const;
    void LineStored(int row);
    void ScrolledUp();
    void FlushChanges();
    void RedrawChanges();
    void DrawLine(QPainter &painter, int row, qint64 line);
    void DrawSelection(QPainter &painter, int row, qint64 line, const QString &text);
    QRect TextRect() const;
    int ViewRows() const;
    void UpdateScrollBar();
    void PlaceScrollBar();
    void UpdateSideBar();
    int BarExtent(const QScrollBar *bar) const;
    void RedrawViewedChanges();
    TConsolePlace PlaceAt(const QPoint &pos) const;
    void SaveTextMenuClick();

    TConsoleScreen m_screen;
    int m_lineHeight = 1;
    int m_charWidth = 1;
    int m_ascent = 0;
    QSize m_fitted; // the size the screen's rows were last counted for
    // Changes since the last redraw: rows to draw (in today's row numbers)
    // and lines scrolled up.
    int m_dirtyFirst = -1;
    int m_dirtyLast = -1;
    int m_scrolled = 0;
    bool m_cleared = false;
    QRect m_caretDrawn;
    qreal m_charAdvance = 1;
    QScrollBar *m_scrollBar;
    QScrollBar *m_sideBar;
    int m_left = 0; // pixels the text is scrolled to the left
    bool m_following = true;
    qint64 m_top = 0; // the top row's line while not following
    int m_wheelRest = 0; // wheel turns short of a line
    bool m_selecting = false;
    bool m_hasSelection = false;
    TConsolePlace m_anchor; // where the mouse went down
    TConsolePlace m_reach; // where it is now
    QTimer m_redrawTimer;
    QElapsedTimer m_sinceRedraw;
};
