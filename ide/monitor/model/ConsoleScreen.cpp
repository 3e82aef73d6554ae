#include "ConsoleScreen.h"

#include <algorithm>
#include <cstring>

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

// The bytes that act in ASCII mode; every other byte is shown.
struct TControlBytes {
    bool acts[256] = {};
    constexpr TControlBytes()
    {
        for (const unsigned char c : {0x04, 0x05, 0x07, 0x08, 0x0A, 0x0C, 0x0D, 0x1A, 0x1B})
            acts[c] = true;
    }
};
constexpr TControlBytes kControlBytes;

} // namespace

TConsoleScreen::TConsoleScreen()
{
    m_lines.append(BlankLine());
    m_log.OnWriteFailed = [this](const QString &error) {
        if (OnLogWriteFailed)
            OnLogWriteFailed(error);
    };
}

TConsoleScreen::~TConsoleScreen()
{
    try {
        StopRecording();
    } catch (...) {
        // Nobody is left to show a write error when the console goes away.
    }
}

QByteArray TConsoleScreen::BlankLine() const
{
    return QByteArray(m_hexMode ? kHexWidth : kAsciiWidth, ' ');
}

QByteArray &TConsoleScreen::Current()
{
    return m_lines[m_row];
}

void TConsoleScreen::SetMaxRow(int row)
{
    m_maxRow = std::max(row, 1);
}

void TConsoleScreen::StoreLine()
{
    if (OnLineStored)
        OnLineStored(m_row);
}

void TConsoleScreen::ClearScreen()
{
    m_log.WriteLines(m_lines);
    m_lines = {BlankLine()};
    m_row = 0;
    m_col = 1;
    if (OnCleared)
        OnCleared();
}

void TConsoleScreen::SetHexMode(bool Value)
{
    if (Value == m_hexMode)
        return;
    m_hexMode = Value;
    ClearScreen();
}

// Lines are added only up to the cursor's row, so that a program that
// positions the cursor and prints line feeds does not grow the list without
// end below the visible rows.
void TConsoleScreen::EnsureRow(int row)
{
    while (m_lines.size() <= row)
        m_lines.append(BlankLine());
}

void TConsoleScreen::ScrollUp()
{
    if (m_lines.size() < 2) {
        ClearScreen();
        return;
    }
    if (OnScrolledUp)
        OnScrolledUp();
    m_log.WriteLine(m_lines.first());
    m_history.Append(m_lines.takeFirst());
    --m_row;
}

void TConsoleScreen::NewLine()
{
    StoreLine();
    ++m_row;
    while (m_row > m_maxRow)
        ScrollUp();
    EnsureRow(m_row);
}

void TConsoleScreen::WriteText(const QByteArray &Text)
{
    if (m_hexMode) {
        for (const char byte : Text)
            WriteHex(byte);
    } else {
        const char *p = Text.constData();
        const char *end = p + Text.size();
        while (p < end) {
            // Shown bytes go into the line as a run, the others one by one.
            const char *run = p;
            if (m_escState == esNormal)
                while (run < end && !kControlBytes.acts[quint8(*run)])
                    ++run;
            if (run > p) {
                PutRun(p, run - p);
                p = run;
            } else {
                WriteAscii(*p++);
            }
        }
    }
    StoreLine();
}

void TConsoleScreen::WriteAscii(char byte)
{
    if (m_escState != esNormal) {
        WriteEscape(byte);
        return;
    }
    WriteControl(byte);
}

// The byte after ESC, the row byte and the column byte of ESC "P".
void TConsoleScreen::WriteEscape(char byte)
{
    const int value = quint8(byte) - 0x30;
    switch (m_escState) {
    case esEscape:
        m_escState = esNormal;
        if (byte == 'P')
            m_escState = esRow;
        else
            WriteControl(byte); // the ESC is dropped
        break;
    case esRow:
        m_row = std::max(value, 0);
        EnsureRow(m_row);
        while (m_row > m_maxRow)
            ScrollUp();
        m_escState = esColumn;
        break;
    case esColumn:
        m_col = std::clamp(value + 1, 1, kAsciiWidth);
        m_escState = esNormal;
        break;
    case esNormal:
        break;
    }
}

void TConsoleScreen::WriteControl(char byte)
{
    switch (byte) {
    case 0x04:
        m_cursorVisible = true;
        break;
    case 0x05:
        m_cursorVisible = false;
        break;
    case 0x07:
        if (OnBeep)
            OnBeep();
        break;
    case 0x08:
        if (m_col > 1) {
            --m_col;
            Current()[m_col - 1] = ' ';
        }
        break;
    case 0x0A:
        NewLine();
        break;
    case 0x0C:
    case 0x1A:
        ClearScreen();
        break;
    case 0x0D:
        m_col = 1;
        if (CRLFIn)
            NewLine();
        break;
    case 0x1B:
        StoreLine();
        m_escState = esEscape;
        break;
    default:
        PutChar(byte);
        break;
    }
}

void TConsoleScreen::PutRun(const char *bytes, qsizetype count)
{
    while (count > 0) {
        QByteArray &line = Current();
        if (line.size() < kAsciiWidth)
            line.append(kAsciiWidth - line.size(), ' ');
        const qsizetype room = kAsciiWidth - (m_col - 1);
        const qsizetype n = std::min(count, room);
        std::memcpy(line.data() + m_col - 1, bytes, size_t(n));
        bytes += n;
        count -= n;
        m_col += int(n);
        if (m_col > kAsciiWidth) {
            NewLine();
            m_col = 1;
        }
    }
}

void TConsoleScreen::PutChar(char byte)
{
    QByteArray &line = Current();
    if (line.size() < m_col)
        line.append(m_col - line.size(), ' ');
    line[m_col - 1] = byte;
    if (++m_col > kAsciiWidth) {
        NewLine();
        m_col = 1;
    }
}

void TConsoleScreen::WriteHex(char byte)
{
    QByteArray &line = Current();
    if (line.size() < m_col + 1)
        line.append(m_col + 1 - line.size(), ' ');
    const quint8 value = quint8(byte);
    line[m_col - 1] = kHexDigits[value >> 4];
    line[m_col] = kHexDigits[value & 0x0F];
    line.append(value < 0x20 ? '.' : byte);
    m_col += 3;
    if (m_col > kHexLastColumn) {
        NewLine();
        m_col = 1;
    }
}

// ---------------------------------------------------------------------------
// Recording

bool TConsoleScreen::SetLogFile(const QString &Name)
{
    if (Name.isEmpty()) {
        StopRecording();
        return true;
    }
    StopRecording();
    m_log.SetFileName(Name);
    return StartRecording();
}

bool TConsoleScreen::SetLogging(bool Value)
{
    if (!Value) {
        StopRecording();
        return true;
    }
    return m_log.FileName().isEmpty() || StartRecording();
}

bool TConsoleScreen::StartRecording()
{
    StopRecording();
    return m_log.Start();
}

void TConsoleScreen::StopRecording()
{
    m_log.Stop(m_lines);
}
