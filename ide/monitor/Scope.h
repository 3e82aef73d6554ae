#pragma once

#include "ScopeGeometry.h"
#include "ScopeModel.h"

#include <QImage>
#include <QPolygon>
#include <QWidget>

#include <optional>

class QPainter;
class QTimer;
class TCommandRegistry;

// The Scope view: a self-drawn four-channel chart of the samples the module
// sends, with a sliding time window, a value scale per channel, and a
// measuring cursor that reads time and values under the mouse.
//
// The whole picture is drawn into a buffer of the control's size when the
// data changed (at most once per repaint interval); a paint only copies the
// buffer to the screen. The measuring cursor is an inverted line drawn into
// the buffer, so moving it redraws two lines and the read-out boxes, never
// the picture.
//
// Paused, the view shows the picture of the moment it was paused, marked as
// paused, while the samples keep being stored; un-paused it jumps back to the
// present.
class TMcuScope : public QWidget {
    Q_OBJECT

public:
    explicit TMcuScope(QWidget *parent = nullptr, TScopeClock clock = SteadyTickClock(),
                       TRepaintThrottle *throttle = nullptr);

    // --- Operations ------------------------------------------------------
    void AddSample(int channel, float value);
    void ClearScope();
    void SetTimeBase(qint64 msPerDiv, const QString &caption);
    // The channel setup dialog for one channel; on OK its settings are taken
    // over and the view repaints.
    void SetupChannel(int channel);
    void SetPaused(bool paused);
    bool Paused() const
    {
        return m_frozen.has_value();
    }
    // All stored samples of the active channels as CSV, and the picture as
    // PNG; each is written to a temporary file that replaces the target only
    // when complete. A file that cannot be written throws EKorvidError.
    void ExportSamples(const QString &fileName) const;
    void SavePicture(const QString &fileName) const;

    // --- Commands --------------------------------------------------------
    // ChannelBtnClick (the sender names the channel button), and the
    // context menu's Pause, Export samples... and Save picture....
    void RegisterCommands(TCommandRegistry &commands);
    void ChannelBtnClick(const QString &sender);
    void PauseMenuClick();
    void ExportMenuClick();
    void SavePictureMenuClick();

    // --- State -----------------------------------------------------------
    // The colour a channel's curve, scale and read-out box are drawn in.
    QColor ChannelColor(int channel) const;
    // The data as stored.
    TScopeModel &Model()
    {
        return m_model;
    }
    // The data the picture shows: that of the moment of pausing while paused.
    const TScopeModel &Shown() const
    {
        return m_frozen ? *m_frozen : m_model;
    }
    // Where the parts of the picture go, for the control's present size and
    // font.
    const TScopeLayout &Layout() const;
    int CursorX() const
    {
        return m_cursorX;
    }
    // The texts of the read-out boxes as last drawn.
    const TScopeReadout &CursorReadout() const
    {
        return m_readout;
    }
    // The picture as the view shows it (without the control's frame).
    QImage Picture() const;
    // Number of times the whole picture was drawn.
    int RenderCount() const
    {
        return m_renderCount;
    }

signals:
    void PausedChanged(bool paused);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The whole picture is drawn again at the next paint.
    void RequestRepaint();
    void TrailingRepaint();
    void MoveCursor(int x);
    // Settings of a channel set up while paused reach the paused picture.
    void CopyChannelSetup(int channel);

    // Draws the picture with the cursor at cursorX (0: none) into image and
    // returns the read-out texts.
    TScopeReadout Render(QImage &image, int cursorX) const;
    void DrawGrid(QPainter &painter) const;
    void DrawScale(QPainter &painter) const;
    void DrawScaleLimits(QPainter &painter, int channel, int against, int from, int line) const;
    void DrawPausedMark(QPainter &painter) const;
    void DrawCurves(QImage &image) const;
    TScopeReadout DrawCursor(QPainter &painter, int cursorX) const;
    void DrawReadoutBoxes(QPainter &painter, const TScopeReadout &readout) const;
    int EffectiveCursorX(int x) const;

    TScopeModel m_model;
    std::optional<TScopeModel> m_frozen;
    mutable TScopeLayout m_layout;
    mutable QSize m_layoutSize; // size and font height m_layout was made for
    mutable int m_layoutTextHeight = -1;
    int m_cursorX = 0;
    TScopeReadout m_readout;
    QImage m_buffer;
    bool m_bufferValid = false;
    QTimer *m_trailingRepaint;
    int m_renderCount = 0;
    mutable QPolygon m_points; // reused for every curve
};
