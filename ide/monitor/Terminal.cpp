#include "Terminal.h"

#include "CommandRegistry.h"
#include "MsgDlg.h"
#include "WholeFile.h"
#include "Windows1252.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <cmath>

namespace {

const QColor kTextColor(10, 10, 160);
const QString kFontFamily = QStringLiteral("Lucida Console");
constexpr int kFontPoints = 9;
// Changes are drawn at once, but at most this often (ms): a module flooding
// the line would otherwise spend the time on drawing each chunk.
constexpr int kRedrawInterval = 15;
constexpr int kWheelStep = 120; // one notch of a mouse wheel
// Copy hands out lines as shown; Save text writes them as the log does.
const QByteArray kCopyLineEnd("\n");
const QByteArray kSavedLineEnd("\r\n");
const char *const kSaveTextCaption = "Save text";
const char *const kSaveTextFilter = "Text files (*.txt);;All files (*)";

} // namespace

TMcuConsole::TMcuConsole(QWidget *parent)
    : QFrame(parent)
    , m_scrollBar(new QScrollBar(Qt::Vertical, this))
    , m_sideBar(new QScrollBar(Qt::Horizontal, this))
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
    m_screen.OnLogWriteFailed = [this](const QString &error) {
        if (OnLogFailed)
            OnLogFailed(this, error);
    };
    m_redrawTimer.setSingleShot(true);
    connect(&m_redrawTimer, &QTimer::timeout, this, &TMcuConsole::RedrawChanges);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setCursor(Qt::ArrowCursor);
    m_scrollBar->hide(); // until lines scroll off
    m_sideBar->setFocusPolicy(Qt::NoFocus);
    m_sideBar->setCursor(Qt::ArrowCursor);
    m_sideBar->hide(); // until a HEX line is wider than the console
    connect(m_sideBar, &QScrollBar::valueChanged, this, [this](int value) {
        m_left = value;
        update();
    });
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollTo(m_screen.FirstLine() + value); });
    setCursor(Qt::IBeamCursor);
    UpdateMetrics();
}

TMcuConsole::~TMcuConsole()
{
    m_screen.OnLineStored = nullptr;
    m_screen.OnScrolledUp = nullptr;
    m_screen.OnCleared = nullptr;
    m_screen.OnLogWriteFailed = nullptr;
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
    FitScreen();
    m_screen.WriteText(Text);
    FlushChanges();
}

void TMcuConsole::ClearScreen()
{
    m_screen.ClearScreen();
    m_screen.ClearHistory();
    m_following = true;
    m_hasSelection = false;
    m_selecting = false;
    FlushChanges();
}

void TMcuConsole::SetHexMode(bool Value)
{
    m_screen.SetHexMode(Value);
    UpdateSideBar();
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
    UpdateScrollBar();
    if (!m_following) {
        RedrawViewedChanges();
        return;
    }
    const QRect area = TextRect();
    const QRect oldCaret = m_caretDrawn;
    update(oldCaret);
    if (m_cleared || m_scrolled * m_lineHeight >= area.height()) {
        update(area); // the text only: the scroll bar repaints itself when it moves
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

// While the user looks back, the lines keep their places: only the screen's
// changed lines that the view shows are redrawn, or everything when the
// history dropped lines the view was showing.
void TMcuConsole::RedrawViewedChanges()
{
    if (m_cleared || m_top < m_screen.FirstLine()) {
        m_top = std::max(m_top, m_screen.FirstLine());
        update(TextRect());
    } else {
        const qint64 shift = m_screen.ScreenTop() - m_top; // view row of the screen's row 0
        for (int row = m_dirtyFirst; row >= 0 && row <= m_dirtyLast; ++row)
            if (shift + row >= 0 && shift + row <= ViewRows())
                update(RowRect(int(shift + row)));
    }
    m_cleared = false;
    m_scrolled = 0;
    m_dirtyFirst = m_dirtyLast = -1;
}

QRect TMcuConsole::RowRect(int row) const
{
    const QRect area = TextRect();
    return QRect(area.left(), area.top() + row * m_lineHeight + 1, area.width(), m_lineHeight).intersected(area);
}

bool TMcuConsole::CaretShown() const
{
    return m_following && hasFocus() && m_screen.CursorVisible() && !m_screen.HexMode();
}

QRect TMcuConsole::CaretRect() const
{
    const QRect area = TextRect();
    const int x = area.left() + (m_screen.CursorCol() - 1) * m_charWidth + 1 - m_left;
    const int y = area.top() + m_screen.CursorRow() * m_lineHeight - 1;
    return QRect(x, y, 2, m_lineHeight);
}

void TMcuConsole::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect().intersected(event->rect()), palette().color(QPalette::Base));
    const QRect area = TextRect();
    if (!area.intersects(event->rect()))
        return; // under the scroll bar only: no text to draw
    painter.setClipRect(area.intersected(event->rect()));
    painter.setPen(kTextColor);
    painter.setFont(font());
    const qint64 top = ViewTop();
    const int first = std::max(0, (event->rect().top() - area.top() - 1) / m_lineHeight);
    const int last =
        int(std::min<qint64>(m_screen.EndLine() - 1 - top, (event->rect().bottom() - area.top()) / m_lineHeight));
    for (int row = first; row <= last; ++row)
        DrawLine(painter, row, top + row);
    m_caretDrawn = QRect();
    if (CaretShown()) {
        m_caretDrawn = CaretRect();
        painter.fillRect(m_caretDrawn, kTextColor);
    }
}

// The line's bytes as the module's character set shows them, with blanks
// behind it to cover what a longer text left.
void TMcuConsole::DrawLine(QPainter &painter, int row, qint64 line)
{
    const QRect area = TextRect();
    QString text = DecodeWindows1252(m_screen.Line(line));
    text.replace(QChar(0), QChar(' '));
    text += QString(TConsoleScreen::kTrailingBlanks, ' ');
    painter.drawText(area.left() + 1 - m_left, area.top() + row * m_lineHeight + 1 + m_ascent, text);
    if (m_hasSelection)
        DrawSelection(painter, row, line, text);
}

// The selected part of a line in the selection colours; a line the
// selection runs through is marked up to its last character.
void TMcuConsole::DrawSelection(QPainter &painter, int row, qint64 line, const QString &text)
{
    const TConsolePlace from = std::min(m_anchor, m_reach);
    const TConsolePlace to = std::max(m_anchor, m_reach);
    if (line < from.line || line > to.line)
        return;
    qsizetype shown = text.size();
    while (shown > 0 && text[shown - 1] == ' ')
        --shown;
    const qsizetype start = line == from.line ? from.column : 0;
    const qsizetype stop = line == to.line ? qsizetype(to.column) : std::max(shown, start);
    if (stop <= start)
        return;
    const QRect area = TextRect();
    const QRectF band(area.left() + 1 - m_left + qreal(start) * m_charAdvance, area.top() + row * m_lineHeight + 1,
                      qreal(stop - start) * m_charAdvance, m_lineHeight);
    painter.fillRect(band, palette().color(QPalette::Highlight));
    painter.save();
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(QPointF(band.left(), area.top() + row * m_lineHeight + 1 + m_ascent),
                     text.mid(start, stop - start));
    painter.restore();
}

void TMcuConsole::UpdateMetrics()
{
    const QFontMetrics metrics(font());
    m_lineHeight = metrics.boundingRect(QStringLiteral("X")).height() + 2;
    m_lineHeight = std::max(m_lineHeight, metrics.height());
    m_charWidth = metrics.horizontalAdvance(QLatin1Char('X'));
    m_charAdvance = std::max<qreal>(QFontMetricsF(font()).horizontalAdvance(QLatin1Char('X')), 1);
    m_ascent = metrics.ascent();
    m_screen.SetMaxRow(TextRect().height() / m_lineHeight - 1);
    m_fitted = contentsRect().size();
    PlaceScrollBar();
}

// A hidden console hears of its new size only when it is shown; the screen
// takes the size the console has now, so that text received before the
// console is first shown is laid out for the rows it will show.
void TMcuConsole::FitScreen()
{
    if (contentsRect().size() != m_fitted)
        UpdateMetrics();
}

void TMcuConsole::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    UpdateMetrics();
    UpdateScrollBar();
    UpdateSideBar();
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
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (event->modifiers() & Qt::ShiftModifier) {
            const int page = std::max(1, ViewRows() - 1);
            ScrollTo(ViewTop() + (event->key() == Qt::Key_PageUp ? -page : page));
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    const QByteArray bytes = event->text().toLatin1();
    if (bytes.isEmpty()) {
        QFrame::keyPressEvent(event);
        return;
    }
    ScrollTo(m_screen.ScreenTop()); // the user types where the cursor is
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

// ---------------------------------------------------------------------------
// History: the scroll bar, the wheel and the view

QRect TMcuConsole::TextRect() const
{
    QRect area = contentsRect();
    if (!m_scrollBar->isHidden())
        area.setRight(area.right() - BarExtent(m_scrollBar));
    if (!m_sideBar->isHidden())
        area.setBottom(area.bottom() - BarExtent(m_sideBar));
    return area;
}

int TMcuConsole::BarExtent(const QScrollBar *bar) const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
}

// Rows the view shows, the last one perhaps in part.
int TMcuConsole::ViewRows() const
{
    return (TextRect().height() + m_lineHeight - 1) / m_lineHeight;
}

qint64 TMcuConsole::ViewTop() const
{
    return m_following ? m_screen.ScreenTop() : std::max(m_top, m_screen.FirstLine());
}

void TMcuConsole::PlaceScrollBar()
{
    const QRect area = contentsRect();
    const QRect text = TextRect();
    m_scrollBar->setGeometry(text.right() + 1, area.top(), BarExtent(m_scrollBar), text.height());
    m_sideBar->setGeometry(area.left(), text.bottom() + 1, text.width(), BarExtent(m_sideBar));
}

// A HEX line (the byte pairs, then the bytes as characters) that is wider
// than the console gets a horizontal scroll bar, so its characters stay in
// reach; the rows above it are the screen's.
void TMcuConsole::UpdateSideBar()
{
    const int lineWidth = int(std::ceil(kHexLineColumns * m_charAdvance)) + 2;
    const int wanted = m_screen.HexMode() ? lineWidth : 0;
    const bool show = wanted > TextRect().width();
    if (show == m_sideBar->isHidden()) {
        m_sideBar->setVisible(show);
        UpdateMetrics(); // the rows that fit above it
        update();
    }
    const int room = TextRect().width();
    m_sideBar->setRange(0, show ? wanted - room : 0);
    m_sideBar->setPageStep(std::max(1, room));
    m_sideBar->setSingleStep(std::max(1, m_charWidth));
    m_left = m_sideBar->value();
}

// The scroll bar counts lines from the oldest one kept; at its end the view
// shows the screen. Set quietly: only the user's moves scroll the view.
void TMcuConsole::UpdateScrollBar()
{
    const int kept = m_screen.History().Size();
    const QSignalBlocker quiet(m_scrollBar);
    m_scrollBar->setRange(0, kept);
    m_scrollBar->setPageStep(std::max(1, ViewRows() - 1));
    m_scrollBar->setValue(int(ViewTop() - m_screen.FirstLine()));
    const bool show = kept > 0;
    if (show == m_scrollBar->isHidden()) {
        m_scrollBar->setVisible(show);
        PlaceScrollBar();
        UpdateSideBar();
        update(); // the text area changed its width
    }
}

void TMcuConsole::ScrollTo(qint64 top)
{
    const qint64 bounded = std::clamp(top, m_screen.FirstLine(), m_screen.ScreenTop());
    const bool following = bounded >= m_screen.ScreenTop();
    if (following == m_following && (following || bounded == m_top))
        return;
    m_following = following;
    m_top = bounded;
    UpdateScrollBar();
    update();
}

void TMcuConsole::wheelEvent(QWheelEvent *event)
{
    m_wheelRest += event->angleDelta().y();
    const int notches = m_wheelRest / kWheelStep;
    m_wheelRest -= notches * kWheelStep;
    if (notches != 0)
        ScrollTo(ViewTop() - qint64(notches) * QApplication::wheelScrollLines());
    event->accept();
}

// ---------------------------------------------------------------------------
// Selection, Copy and Save text

TConsolePlace TMcuConsole::PlaceAt(const QPoint &pos) const
{
    const QRect area = TextRect();
    const int y = pos.y() - area.top() - 1;
    const qint64 row = y < 0 ? -1 : y / m_lineHeight;
    const qint64 line = std::clamp(ViewTop() + row, m_screen.FirstLine(), m_screen.EndLine() - 1);
    const int column = std::max(0, int(std::lround(qreal(pos.x() - area.left() - 1 + m_left) / m_charAdvance)));
    return {line, column};
}

void TMcuConsole::mousePressEvent(QMouseEvent *event)
{
    QFrame::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_anchor = m_reach = PlaceAt(event->position().toPoint());
    m_selecting = true;
    if (m_hasSelection) {
        m_hasSelection = false;
        update();
    }
}

void TMcuConsole::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selecting)
        return;
    const TConsolePlace reach = PlaceAt(event->position().toPoint());
    if (reach == m_reach)
        return;
    m_reach = reach;
    m_hasSelection = m_reach != m_anchor;
    update();
}

void TMcuConsole::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_selecting = false;
}

void TMcuConsole::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !OnLineDoubleClicked)
        return;
    const qint64 line = PlaceAt(event->position().toPoint()).line;
    const QByteArray text = ConsoleText(m_screen, {line, 0}, {line + 1, 0}, QByteArray());
    OnLineDoubleClicked(this, DecodeWindows1252(text));
}

void TMcuConsole::Select(TConsolePlace from, TConsolePlace to)
{
    m_anchor = from;
    m_reach = to;
    m_hasSelection = from != to;
    update();
}

QString TMcuConsole::CopyText() const
{
    const QByteArray bytes = m_hasSelection ? ConsoleText(m_screen, m_anchor, m_reach, kCopyLineEnd)
                                            : ConsoleScreenText(m_screen, kCopyLineEnd);
    QString text = DecodeWindows1252(bytes);
    text.replace(QChar(0), QChar(' '));
    return text;
}

void TMcuConsole::Copy() const
{
    QGuiApplication::clipboard()->setText(CopyText());
}

void TMcuConsole::SaveText(const QString &fileName) const
{
    WriteWholeFile(fileName, ConsoleAllText(m_screen, kSavedLineEnd));
}

void TMcuConsole::RegisterCommands(TCommandRegistry &commands)
{
    commands.Bind("ConsoleCopyMenuClick", [this] { Copy(); });
    commands.Bind("ConsoleSaveTextMenuClick", [this] { SaveTextMenuClick(); });
}

void TMcuConsole::SaveTextMenuClick()
{
    QFileDialog dialog(window(), QString::fromLatin1(kSaveTextCaption), QString(),
                       QString::fromLatin1(kSaveTextFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("txt");
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SaveText(dialog.selectedFiles().first()); // a failure reaches the error handler with its message
}
