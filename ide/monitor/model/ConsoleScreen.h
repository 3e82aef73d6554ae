#pragma once

#include "ConsoleHistory.h"
#include "ConsoleLog.h"

#include <QByteArray>
#include <QList>
#include <functional>

// The console's screen without any widget: a list of fixed-width text lines,
// the cursor, the escape sequence in progress and the recording. WriteText
// shows received or echoed bytes; the view hears which lines changed, when
// the screen scrolled up by one line or was cleared, and when to beep.
//
// ASCII mode interprets the control bytes 0x04, 0x05 (cursor on, off), 0x07
// (beep), 0x08 (backspace), 0x0A (new line), 0x0C and 0x1A (clear), 0x0D
// (column 1, with CRLFIn also a new line) and ESC "P" row column (cursor to
// row - 0x30, column - 0x30, counted from 0). HEX mode shows each byte as a
// hex pair and, from column 74, as a character.
//
// The lines that scroll off the top are kept in a bounded history. The
// history and the screen are numbered as one sequence of lines (see
// TConsoleHistory): the screen's row 0 is line ScreenTop().
class TConsoleScreen {
public:
    static constexpr int kAsciiWidth = 120;
    static constexpr int kHexWidth = 73;
    static constexpr int kHexLastColumn = 72;
    static constexpr int kTrailingBlanks = 24;

    enum TEscState { esNormal = 0, esEscape = 1, esRow = 2, esColumn = 3 };

    TConsoleScreen();
    ~TConsoleScreen();
    TConsoleScreen(const TConsoleScreen &) = delete;
    TConsoleScreen &operator=(const TConsoleScreen &) = delete;

    void WriteText(const QByteArray &Text);
    // Writes the screen to the log when recording, then leaves one blank line
    // of the current mode with the cursor at its start.
    void ClearScreen();

    bool HexMode() const
    {
        return m_hexMode;
    }
    // A change clears the screen.
    void SetHexMode(bool Value);
    bool CRLFIn = false;

    const QList<QByteArray> &ScreenLines() const
    {
        return m_lines;
    }
    int CursorRow() const
    {
        return m_row;
    }
    int CursorCol() const
    {
        return m_col;
    }
    int MaxRow() const
    {
        return m_maxRow;
    }
    // The last row that fits the view (at least 1).
    void SetMaxRow(int row);
    TEscState EscState() const
    {
        return m_escState;
    }
    bool CursorVisible() const
    {
        return m_cursorVisible;
    }

    // --- History ------------------------------------------------------------
    const TConsoleHistory &History() const
    {
        return m_history;
    }
    void SetHistoryLimit(int lines)
    {
        m_history.SetLimit(lines);
    }
    // Forgets the lines that scrolled off; the screen stays as it is.
    void ClearHistory()
    {
        m_history.Clear();
    }
    // Numbers of the oldest line kept, of the screen's row 0 and one past the
    // screen's last row.
    qint64 FirstLine() const
    {
        return m_history.First();
    }
    qint64 ScreenTop() const
    {
        return m_history.End();
    }
    qint64 EndLine() const
    {
        return m_history.End() + m_lines.size();
    }
    // The line numbered n, FirstLine() <= n < EndLine().
    const QByteArray &Line(qint64 n) const
    {
        return n < ScreenTop() ? m_history.Line(n) : m_lines[qsizetype(n - ScreenTop())];
    }

    // --- Recording ------------------------------------------------------
    // A non-empty name starts recording to that file, an empty one stops.
    // False when the file cannot be opened.
    bool SetLogFile(const QString &Name);
    // False stops recording; true starts it when a file name is known.
    bool SetLogging(bool Value);
    bool Logging() const
    {
        return m_log.Logging();
    }
    QString LogFileName() const
    {
        return m_log.FileName();
    }

    // --- What the view hears ----------------------------------------------
    std::function<void(int row)> OnLineStored;
    std::function<void()> OnScrolledUp;
    std::function<void()> OnCleared;
    std::function<void()> OnBeep;
    // The first failed write of a recording, at once (TConsoleLog::OnWriteFailed).
    std::function<void(const QString &error)> OnLogWriteFailed;

private:
    bool StartRecording();
    void StopRecording();
    QByteArray BlankLine() const;
    QByteArray &Current();
    void StoreLine();
    void NewLine();
    void ScrollUp();
    void EnsureRow(int row);
    void WriteAscii(char byte);
    void WriteEscape(char byte);
    void WriteControl(char byte);
    void PutChar(char byte);
    void PutRun(const char *bytes, qsizetype count);
    void WriteHex(char byte);

    QList<QByteArray> m_lines;
    int m_row = 0;
    int m_col = 1;
    int m_maxRow = 1;
    TEscState m_escState = esNormal;
    bool m_cursorVisible = true;
    bool m_hexMode = false;
    TConsoleLog m_log;
    TConsoleHistory m_history;
};
