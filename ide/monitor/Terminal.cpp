#include "Terminal.h"

#include "MsgDlg.h"
#include "Windows1252.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>

namespace {

const QColor kTextColor(10, 10, 160);
const QString kFontFamily = QStringLiteral("Lucida Console");
constexpr int kFontPoints = 9;
// Changes are drawn at once, but at most this often (ms): a module flooding
// the line would otherwise spend the time on drawing each chunk.
constexpr int kRedrawInterval = 15;

} // namespace

TMcuConsole::TMcuConsole(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFont(ConsoleFont());
    resize(kDesignWidth, kDesignHeight);
    m_screen.OnLineStored = [this](int row) { LineStored(row); };
    m_screen.OnScrolledUp = [this] { ScrolledUp(); };
    m_screen.OnCleared = [this] { m_cleared = true; };
    m_screen.OnBeep = [] { QApplication::beep(); };
    m_redrawTimer.setSingleShot(true);
    connect(&m_redrawTimer, &QTimer::timeout, this, &TMcuConsole::RedrawChanges);
    UpdateMetrics();
}

TMcuConsole::~TMcuConsole()
{
    m_screen.OnLineStored = nullptr;
    m_screen.OnScrolledUp = nullptr;
    m_screen.OnCleared = nullptr;
}

QFont TMcuConsole::ConsoleFont()
{
    QFont font(kFontFamily, kFontPoints);
    if (QFontInfo(font).family().compare(kFontFamily, Qt::CaseInsensitive) == 0)
        return font;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(kFontPoints);
    return fixed;
}

// ---------------------------------------------------------------------------
// Operations

void TMcuConsole::WriteText(const QByteArray &Text)
{
    m_screen.WriteText(Text);
    FlushChanges();
}

void TMcuConsole::ClearScreen()
{
    m_screen.ClearScreen();
    FlushChanges();
}

void TMcuConsole::SetHexMode(bool Value)
{
    m_screen.SetHexMode(Value);
    FlushChanges();
}

void TMcuConsole::SetLogFile(const QString &Name)
{
    if (!m_screen.SetLogFile(Name))
        ShowMessageDlg(mkWarning, tr("Can't open the selected file."),
                       tr("Please check, if the file is already in use."), false);
}

void TMcuConsole::SetLogging(bool Value)
{
    if (!m_screen.SetLogging(Value))
        ShowMessageDlg(mkWarning, tr("Can't open the selected file."),
                       tr("Please check, if the file is already in use."), false);
}

// ---------------------------------------------------------------------------
// Redrawing only what changed

void TMcuConsole::LineStored(int row)
{
    m_dirtyFirst = m_dirtyFirst < 0 ? row : std::min(m_dirtyFirst, row);
    m_dirtyLast = std::max(m_dirtyLast, row);
}

// Rows noted before a scroll move up with the pixels.
void TMcuConsole::ScrolledUp()
{
    ++m_scrolled;
    if (m_dirtyFirst >= 0) {
        m_dirtyFirst = std::max(m_dirtyFirst - 1, 0);
        --m_dirtyLast;
        if (m_dirtyLast < 0)
            m_dirtyFirst = m_dirtyLast = -1;
    }
}

void TMcuConsole::FlushChanges()
{
    if (m_redrawTimer.isActive())
        return; // the redraw due takes these changes along
    const qint64 since = m_sinceRedraw.isValid() ? m_sinceRedraw.elapsed() : kRedrawInterval;
    if (since >= kRedrawInterval)
        RedrawChanges();
    else
        m_redrawTimer.start(int(kRedrawInterval - since));
}

void TMcuConsole::RedrawChanges()
{
    m_sinceRedraw.start();
    const QRect area = contentsRect();
    const QRect oldCaret = m_caretDrawn;
    update(oldCaret);
    if (m_cleared || m_scrolled * m_lineHeight >= area.height()) {
        update();
    } else {
        if (m_scrolled > 0) {
            scroll(0, -m_scrolled * m_lineHeight, area);
            update(oldCaret.translated(0, -m_scrolled * m_lineHeight)); // the caret moved with the pixels
        }
        for (int row = m_dirtyFirst; row >= 0 && row <= m_dirtyLast; ++row)
            update(RowRect(row));
    }
    if (CaretShown())
        update(CaretRect());
    m_cleared = false;
    m_scrolled = 0;
    m_dirtyFirst = m_dirtyLast = -1;
}

QRect TMcuConsole::RowRect(int row) const
{
    const QRect area = contentsRect();
    return QRect(area.left(), area.top() + row * m_lineHeight + 1, area.width(), m_lineHeight).intersected(area);
}

bool TMcuConsole::CaretShown() const
{
    return hasFocus() && m_screen.CursorVisible() && !m_screen.HexMode();
}

QRect TMcuConsole::CaretRect() const
{
    const QRect area = contentsRect();
    const int x = area.left() + (m_screen.CursorCol() - 1) * m_charWidth + 1;
    const int y = area.top() + m_screen.CursorRow() * m_lineHeight - 1;
    return QRect(x, y, 2, m_lineHeight);
}

void TMcuConsole::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area.intersected(event->rect()));
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.setPen(kTextColor);
    painter.setFont(font());
    const QList<QByteArray> &lines = m_screen.ScreenLines();
    const int first = std::max(0, (event->rect().top() - area.top() - 1) / m_lineHeight);
    const int last = std::min<int>(int(lines.size()) - 1, (event->rect().bottom() - area.top()) / m_lineHeight);
    for (int row = first; row <= last; ++row)
        DrawLine(painter, row);
    m_caretDrawn = QRect();
    if (CaretShown()) {
        m_caretDrawn = CaretRect();
        painter.fillRect(m_caretDrawn, kTextColor);
    }
}

// The line's bytes as the module's character set shows them, with blanks
// behind it to cover what a longer text left.
void TMcuConsole::DrawLine(QPainter &painter, int row)
{
    const QRect area = contentsRect();
    QString text = DecodeWindows1252(m_screen.ScreenLines()[row]);
    text.replace(QChar(0), QChar(' '));
    text += QString(TConsoleScreen::kTrailingBlanks, ' ');
    painter.drawText(area.left() + 1, area.top() + row * m_lineHeight + 1 + m_ascent, text);
}

void TMcuConsole::UpdateMetrics()
{
    const QFontMetrics metrics(font());
    m_lineHeight = metrics.boundingRect(QStringLiteral("X")).height() + 2;
    m_lineHeight = std::max(m_lineHeight, metrics.height());
    m_charWidth = metrics.horizontalAdvance(QLatin1Char('X'));
    m_ascent = metrics.ascent();
    m_screen.SetMaxRow(contentsRect().height() / m_lineHeight - 1);
}

void TMcuConsole::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    UpdateMetrics();
}

void TMcuConsole::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateMetrics();
        update();
    }
}

void TMcuConsole::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    FlushChanges();
}

void TMcuConsole::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    FlushChanges();
}

// ---------------------------------------------------------------------------
// Keyboard

// Tab and the arrow keys belong to the console: they do not move the focus.
bool TMcuConsole::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QFrame::event(event);
}

void TMcuConsole::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        event->accept(); // claimed, but they send nothing
        return;
    default:
        break;
    }
    const QByteArray bytes = event->text().toLatin1();
    if (bytes.isEmpty()) {
        QFrame::keyPressEvent(event);
        return;
    }
    for (const char key : bytes)
        TypeChar(key);
    event->accept();
}

void TMcuConsole::TypeChar(char key)
{
    if (Echo)
        WriteText(QByteArray(1, key));
    DoKey(key);
    if (key == '\r' && CRLFOut) {
        if (Echo)
            WriteText(QByteArray(1, '\n'));
        DoKey('\n');
    }
}

void TMcuConsole::DoKey(char key)
{
    if (OnKey)
        OnKey(this, key);
}
