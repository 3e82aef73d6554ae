#pragma once

#include "ConsoleScreen.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QTimer>
#include <functional>

// The console of the output panel: a self-drawn terminal over the screen
// model. Received text comes in through WriteText; after each chunk only the
// lines that changed are redrawn, and scrolling moves the pixels already
// drawn (gathered for at most a few milliseconds while data pours in). Typed characters are echoed (with Echo) and
// handed out through OnKey, the Enter key as CR and, with CRLFOut, a following LF.
class TMcuConsole : public QFrame {
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 185;
    static constexpr int kDesignHeight = 41;

    explicit TMcuConsole(QWidget *parent = nullptr);
    ~TMcuConsole() override;

    void WriteText(const QByteArray &Text);
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

    // A typed byte for the port.
    std::function<void(TMcuConsole *sender, char key)> OnKey;

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

private:
    void DoKey(char key);
    void TypeChar(char key);
    void UpdateMetrics();
    QRect RowRect(int row) const;
    QRect CaretRect() const;
    bool CaretShown() const;
    void LineStored(int row);
    void ScrolledUp();
    void FlushChanges();
    void RedrawChanges();
    void DrawLine(QPainter &painter, int row);

    TConsoleScreen m_screen;
    int m_lineHeight = 1;
    int m_charWidth = 1;
    int m_ascent = 0;
    // Changes since the last redraw: rows to draw (in today's row numbers)
    // and lines scrolled up.
    int m_dirtyFirst = -1;
    int m_dirtyLast = -1;
    int m_scrolled = 0;
    bool m_cleared = false;
    QRect m_caretDrawn;
    QTimer m_redrawTimer;
    QElapsedTimer m_sinceRedraw;
};
