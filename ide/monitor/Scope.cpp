#include "Scope.h"

#include "Channel.h"
#include "CommandRegistry.h"
#include "Errors.h"
#include "SampleExport.h"
#include "ScopeText.h"
#include "ThickPolyline.h"
#include "WholeFile.h"

#include <QBuffer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyleOptionFrame>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

const QColor kGridColor(220, 220, 220);
const QColor kFrameColor(120, 120, 120); // plot frame and scale brackets
const QColor kCursorColor(150, 150, 150); // measuring cursor and time read-out box
const QColor kPlotBackground(255, 255, 255);
const QColor kControlBackground(255, 255, 255); // also the text on the read-out boxes

constexpr int kDesignWidth = 100;
constexpr int kDesignHeight = 41;
constexpr int kDivisionsAcross = 20; // vertical grid lines
constexpr int kDivisionsDown = 10; // horizontal grid lines
constexpr int kGridDotStep = 3;
constexpr int kCurveInset = 2; // curves keep off the plot frame
constexpr int kCurvePenWidth = 2;
constexpr int kCaptionGap = 2; // between the plot and the time caption
constexpr int kBracketTick = 3; // length of a scale bracket's ticks
constexpr int kOuterBracketGap = 5; // the outer bracket's line left of the scale strip's right edge
constexpr int kScaleLineGap = 2; // between the two limit lines of a bracket
constexpr int kReadoutBoxLeft = 105; // read-out boxes, from the control's right edge
constexpr int kReadoutBoxRight = 8;
constexpr int kReadoutTextRight = 10;
constexpr int kReadoutFirstY = 5;
constexpr int kReadoutPitch = 20;
constexpr int kReadoutStrip = 110;
const QColor kPausedMarkColor(255, 255, 255);
const QColor kPausedMarkBackground(160, 0, 0);
constexpr int kPausedMarkInset = 4;
constexpr int kPausedMarkPadding = 4;
constexpr int kScaleLabelGap = 4; // at least between two labels on one line

// Texts of the context-menu commands' file dialogs.
const char *const kExportCaption = "Export samples";
const char *const kExportFilter = "CSV files (*.csv)";
const char *const kPictureCaption = "Save picture";
const char *const kPictureFilter = "PNG pictures (*.png)";
const char *const kAllFilesFilter = "All files (*)";

QColor ToColor(TScopeRgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

// Writes a file through a temporary one that replaces it only when
// complete; a failure leaves no partial file and throws with its cause.
void WriteWhole(const QString &fileName, const std::function<bool(QIODevice &)> &write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        throw EKorvidError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, buffer.errorString()));
    WriteWholeFile(fileName, buffer.data());
}

QString AskSaveName(QWidget *parent, const char *caption, const char *filter, const char *suffix)
{
    QFileDialog dialog(parent->window(), QString::fromLatin1(caption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QString::fromLatin1(filter), QString::fromLatin1(kAllFilesFilter)});
    dialog.setDefaultSuffix(QString::fromLatin1(suffix));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

TMcuScope::TMcuScope(QWidget *parent, TScopeClock clock, TRepaintThrottle *throttle)
    : QWidget(parent)
    , m_model(std::move(clock), throttle)
    , m_trailingRepaint(new QTimer(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_trailingRepaint->setSingleShot(true);
    connect(m_trailingRepaint, &QTimer::timeout, this, &TMcuScope::TrailingRepaint);
    resize(kDesignWidth, kDesignHeight);
    ClearScope();
}

// ---------------------------------------------------------------------------
// Operations

void TMcuScope::AddSample(int channel, float value)
{
    const TScopeModel::TAddResult result = m_model.AddSample(channel, value);
    if (m_frozen || result == TScopeModel::Dropped)
        return;
    if (result == TScopeModel::RepaintNow)
        RequestRepaint();
    else if (!m_trailingRepaint->isActive())
        m_trailingRepaint->start(static_cast<int>(m_model.Throttle().Wait(m_model.Now())));
}

// Samples that came too soon after a repaint are drawn once the repaint
// interval is over, so the picture never lags behind the last sample.
void TMcuScope::TrailingRepaint()
{
    const qint64 wait = m_model.Throttle().Wait(m_model.Now());
    if (wait > 0) {
        m_trailingRepaint->start(static_cast<int>(wait));
        return;
    }
    m_model.Throttle().Request(m_model.Now());
    RequestRepaint();
}

void TMcuScope::ClearScope()
{
    m_model.ClearScope();
    if (m_frozen) {
        m_frozen = m_model;
        m_frozen->StopClock();
    }
    RequestRepaint();
}

void TMcuScope::SetTimeBase(qint64 msPerDiv, const QString &caption)
{
    m_model.SetTimeBase(msPerDiv, caption);
    if (m_frozen)
        m_frozen->SetTimeBase(msPerDiv, caption);
    RequestRepaint();
}

void TMcuScope::SetupChannel(int channel)
{
    if (channel < 0 || channel >= TScopeModel::kChannelCount)
        return;
    TMcuChannel &target = m_model.Channel(channel);
    TMcuChannelSetup dialog(channel, target.Color(), this);
    dialog.Fill(target);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // What was taken over before a conversion error shows as well.
    const auto repaint = qScopeGuard([this, channel] {
        CopyChannelSetup(channel);
        RequestRepaint();
    });
    dialog.Apply(target);
}

void TMcuScope::CopyChannelSetup(int channel)
{
    if (!m_frozen)
        return;
    const TMcuChannel &from = m_model.Channel(channel);
    TMcuChannel &to = m_frozen->Channel(channel);
    to.SetActive(from.Active());
    to.SetMin(from.Min());
    to.SetMax(from.Max());
    to.SetAutoScale(from.AutoScale());
}

void TMcuScope::SetPaused(bool paused)
{
    if (paused == Paused())
        return;
    if (paused) {
        m_frozen = m_model;
        m_frozen->StopClock();
    } else {
        m_frozen.reset();
        m_model.FollowPresent(m_model.Now());
    }
    RequestRepaint();
    emit PausedChanged(paused);
}

void TMcuScope::ExportSamples(const QString &fileName) const
{
    const QByteArray csv = SamplesCsv(m_model);
    WriteWhole(fileName, [&csv](QIODevice &file) { return file.write(csv) == csv.size(); });
}

void TMcuScope::SavePicture(const QString &fileName) const
{
    const QImage picture = Picture();
    WriteWhole(fileName, [&picture](QIODevice &file) { return picture.save(&file, "PNG"); });
}

// ---------------------------------------------------------------------------
// Commands

void TMcuScope::RegisterCommands(TCommandRegistry &commands)
{
    commands.Bind("ChannelBtnClick", [this](const QString &sender) { ChannelBtnClick(sender); });
    commands.Bind("ScopePauseMenuClick", [this] { PauseMenuClick(); });
    commands.Bind("ScopeExportMenuClick", [this] { ExportMenuClick(); });
    commands.Bind("ScopeSavePictureMenuClick", [this] { SavePictureMenuClick(); });
}

void TMcuScope::ChannelBtnClick(const QString &sender)
{
    static const QRegularExpression buttonName(QStringLiteral("^Channel([0-3])Btn$"));
    const QRegularExpressionMatch match = buttonName.match(sender);
    if (match.hasMatch())
        SetupChannel(match.captured(1).toInt());
}

void TMcuScope::PauseMenuClick()
{
    SetPaused(!Paused());
}

void TMcuScope::ExportMenuClick()
{
    const QString fileName = AskSaveName(this, kExportCaption, kExportFilter, "csv");
    if (!fileName.isEmpty())
        ExportSamples(fileName);
}

void TMcuScope::SavePictureMenuClick()
{
    const QString fileName = AskSaveName(this, kPictureCaption, kPictureFilter, "png");
    if (!fileName.isEmpty())
        SavePicture(fileName);
}

// ---------------------------------------------------------------------------
// Events

void TMcuScope::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    if (!m_bufferValid) {
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = size() * ratio;
        if (m_buffer.size() != pixels) {
            m_buffer = QImage(pixels, QImage::Format_RGB32);
            m_buffer.setDevicePixelRatio(ratio);
        }
        m_cursorX = EffectiveCursorX(m_cursorX);
        m_readout = Render(m_buffer, m_cursorX);
        m_bufferValid = true;
        ++m_renderCount;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_buffer);
    // The edit-box frame of the current style along the window edge.
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &painter, this);
    if (Paused())
        DrawPausedMark(painter);
}

// Over the picture, not in it (a saved picture has no mark): the word in the
// plot's top left corner, on the plot's background.
void TMcuScope::DrawPausedMark(QPainter &painter) const
{
    const TScopeRect &plot = Layout().plot;
    const QString text = tr("Paused");
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box(plot.left + kPausedMarkInset, plot.top + kPausedMarkInset,
                    metrics.horizontalAdvance(text) + 2 * kPausedMarkPadding, metrics.height());
    painter.fillRect(box, kPausedMarkBackground);
    painter.setPen(kPausedMarkColor);
    painter.drawText(box, Qt::AlignCenter, text);
}

QColor TMcuScope::ChannelColor(int channel) const
{
    return ToColor(m_model.Channel(channel).Color());
}

void TMcuScope::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    RequestRepaint();
}

void TMcuScope::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        RequestRepaint();
}

void TMcuScope::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (pos.y() >= Layout().plot.top && pos.y() < Layout().plot.bottom)
        MoveCursor(pos.x());
    QWidget::mouseMoveEvent(event);
}

// The scope has no keyboard function, but it keeps the arrow keys from
// moving the focus away.
void TMcuScope::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        event->accept();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// ---------------------------------------------------------------------------
// Drawing

// A control not shown yet gets its resize event only when shown, so the
// layout follows the size itself.
const TScopeLayout &TMcuScope::Layout() const
{
    const int textHeight = fontMetrics().height();
    if (m_layoutSize != size() || m_layoutTextHeight != textHeight) {
        m_layout = ScopeLayout(width(), height(), textHeight);
        m_layoutSize = size();
        m_layoutTextHeight = textHeight;
    }
    return m_layout;
}

void TMcuScope::RequestRepaint()
{
    m_trailingRepaint->stop();
    m_bufferValid = false;
    update();
}

int TMcuScope::EffectiveCursorX(int x) const
{
    return Layout().plot.StrictlyInsideX(x) ? x : 0;
}

// Moves the measuring cursor within the drawn picture: the inverted line
// at the old place is inverted back, the new one drawn, and the read-out
// boxes show the values under it.
void TMcuScope::MoveCursor(int x)
{
    if (!Layout().plot.StrictlyInsideX(x) || x == m_cursorX)
        return;
    const int old = m_cursorX;
    m_cursorX = x;
    if (!m_bufferValid)
        return; // the pending repaint draws the cursor
    QPainter painter(&m_buffer);
    painter.setFont(font());
    if (old != 0)
        DrawCursor(painter, old);
    m_readout = DrawCursor(painter, x);
    painter.end();
    const int h = height();
    if (old != 0)
        update(old - 1, 0, 3, h);
    update(x - 1, 0, 3, h);
    update(width() - kReadoutStrip, 0, kReadoutStrip, h);
}

QImage TMcuScope::Picture() const
{
    QImage image(size(), QImage::Format_RGB32);
    if (!image.isNull())
        Render(image, EffectiveCursorX(m_cursorX));
    return image;
}

TScopeReadout TMcuScope::Render(QImage &image, int cursorX) const
{
    image.fill(kControlBackground);
    QPainter painter(&image);
    painter.setFont(font());
    DrawGrid(painter);
    DrawScale(painter);
    painter.end();
    DrawCurves(image);
    painter.begin(&image);
    painter.setFont(font());
    return DrawCursor(painter, cursorX);
}

void TMcuScope::DrawGrid(QPainter &painter) const
{
    const TScopeRect &r = Layout().plot;
    if (r.Width() > 0 && r.Height() > 0) {
        painter.setPen(kFrameColor);
        painter.setBrush(kPlotBackground);
        painter.drawRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
    }
    QPolygon dots;
    for (int i = 1; i < kDivisionsAcross; ++i) {
        const int x = r.left + i * r.Width() / kDivisionsAcross;
        for (int y = r.top + 2; y <= r.bottom - 3; y += kGridDotStep)
            dots << QPoint(x, y);
    }
    for (int i = 1; i < kDivisionsDown; ++i) {
        const int y = r.top + i * r.Height() / kDivisionsDown;
        for (int x = r.left + 2; x <= r.right - 3; x += kGridDotStep)
            dots << QPoint(x, y);
    }
    painter.setPen(kGridColor);
    painter.drawPoints(dots);

    const QString caption = QStringLiteral("Time: ") + Shown().TimeBaseText();
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(r.left + (r.Width() - metrics.horizontalAdvance(caption)) / 2,
                     r.bottom + kCaptionGap + metrics.ascent(), caption);
}

void TMcuScope::DrawScale(QPainter &painter) const
{
    const TScopeRect &s = Layout().scale;
    const int middle = (s.top + s.bottom) / 2;
    const int bottom = s.bottom - 1;
    const auto bracket = [&](int from, int to) {
        painter.setPen(kFrameColor);
        for (int y : {s.top, middle, bottom})
            painter.drawLine(from, y, to, y);
        painter.drawLine(to, s.top, to, bottom);
    };
    const int outer = s.right - kOuterBracketGap;
    const bool twoBrackets = Shown().Channel(2).Active() || Shown().Channel(3).Active();
    const int inner = (s.left + s.right) / 2;
    // The outer labels end where the inner bracket's labels would begin.
    const int outerFrom = twoBrackets ? inner + kScaleLabelGap : s.left;
    bracket(outer - kBracketTick, outer);
    DrawScaleLimits(painter, 0, outer - kBracketTick, outerFrom, 0);
    DrawScaleLimits(painter, 1, outer - kBracketTick, outerFrom, 1);
    if (twoBrackets) {
        bracket(inner - kBracketTick, inner);
        DrawScaleLimits(painter, 2, inner - kBracketTick, s.left, 0);
        DrawScaleLimits(painter, 3, inner - kBracketTick, s.left, 1);
    }
}

// A channel's Max at the top and Min at the bottom of the scale, between
// x = from and x = against; line 1 is one text line further inside than line
// 0. A label too wide for its room is written with an exponent, and what
// still does not fit is cut at the room's left edge.
void TMcuScope::DrawScaleLimits(QPainter &painter, int channel, int against, int from, int line) const
{
    const TMcuChannel &c = Shown().Channel(channel);
    if (!c.Active())
        return;
    const TScopeRect &s = Layout().scale;
    const int th = Layout().textHeight;
    const QFontMetrics metrics = painter.fontMetrics();
    const int room = std::max(against - std::max(from, 0), 0);
    const auto label = [&](float value, int y) {
        QString text = ScaleValueText(value);
        if (metrics.horizontalAdvance(text) > room)
            text = ShortScaleValueText(value);
        painter.save();
        painter.setClipRect(QRect(against - room, y, room, metrics.height()), Qt::IntersectClip);
        painter.drawText(against - metrics.horizontalAdvance(text), y + metrics.ascent(), text);
        painter.restore();
    };
    painter.setPen(ToColor(c.Color()));
    label(c.Max(), s.top + line * (th + kScaleLineGap));
    label(c.Min(), s.bottom - (line + 1) * th - line * kScaleLineGap);
}

void TMcuScope::DrawCurves(QImage &image) const
{
    const TScopeRect area = Layout().plot.Shrunk(kCurveInset);
    const qreal ratio = image.devicePixelRatio();
    for (int i = 0; i < TScopeModel::kChannelCount; ++i) {
        const TMcuChannel &c = Shown().Channel(i);
        if (!c.Active())
            continue;
        m_points.resize(0);
        for (int k = 0; k < c.SampleCount(); ++k) {
            const TScopeSample &sample = c.Sample(k);
            if (sample.time < c.WindowStart())
                continue;
            const QPoint point(SampleX(area, sample.time, c.WindowStart(), c.WindowSpan()),
                               SampleY(area, sample.value, c.Min(), c.Max()));
            m_points << (ratio == 1 ? point : (QPointF(point) * ratio).toPoint());
        }
        DrawThickPolyline(image, m_points, ToColor(c.Color()).rgb(), qRound(kCurvePenWidth * ratio));
    }
}

// The inverted cursor line at cursorX (0: none) and the read-out boxes with
// the texts for it; returns the texts.
TScopeReadout TMcuScope::DrawCursor(QPainter &painter, int cursorX) const
{
    TScopeReadout readout;
    if (cursorX != 0) {
        const TScopeRect &r = Layout().plot;
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(kCursorColor);
        painter.drawLine(cursorX, r.top + 1, cursorX, r.bottom - 2);
        painter.restore();
        const TScopeModel &shown = Shown();
        readout = shown.Readout(CursorTime(r, cursorX, shown.WindowStart(), shown.WindowSpan()));
    }
    DrawReadoutBoxes(painter, readout);
    return readout;
}

// The time box, then one box per active channel in the next free slot.
void TMcuScope::DrawReadoutBoxes(QPainter &painter, const TScopeReadout &readout) const
{
    const int w = width();
    const QFontMetrics metrics = painter.fontMetrics();
    int y = kReadoutFirstY;
    const auto box = [&](const QColor &color, const QString &text) {
        painter.fillRect(w - kReadoutBoxLeft, y, kReadoutBoxLeft - kReadoutBoxRight, Layout().textHeight + 1, color);
        painter.setPen(kControlBackground);
        painter.drawText(w - metrics.horizontalAdvance(text) - kReadoutTextRight, y + metrics.ascent(), text);
        y += kReadoutPitch;
    };
    box(kCursorColor, readout.time);
    for (int i = 0; i < TScopeModel::kChannelCount; ++i)
        if (Shown().Channel(i).Active())
            box(ToColor(Shown().Channel(i).Color()), readout.values[i]);
}
