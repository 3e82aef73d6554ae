#pragma once

#include "RepaintThrottle.h"
#include "ScopeChannel.h"
#include "ScopeClock.h"

#include <QString>

#include <array>
#include <memory>

// The texts of the measuring cursor: its time since the last clear and the
// value of each channel there (empty for an inactive channel).
struct TScopeReadout {
    QString time;
    std::array<QString, 4> values;
};

// The scope's data without widgets: four channels, the time of the last
// clear (the origin of the read-out), the visible time window and the
// time-base caption. The window follows the present as samples arrive; a
// repaint is asked for at most once per throttle interval.
class TScopeModel {
public:
    static constexpr int kChannelCount = 4;
    static constexpr qint64 kDivisions = 20;
    static const TScopeRgb kChannelColors[kChannelCount];

    // throttle, when given, is shared with other views and outlives the
    // model; none given, the model has one of its own.
    explicit TScopeModel(TScopeClock clock = SteadyTickClock(), TRepaintThrottle *throttle = nullptr);

    TMcuChannel &Channel(int index)
    {
        return m_channels[index];
    }
    const TMcuChannel &Channel(int index) const
    {
        return m_channels[index];
    }
    qint64 StartTick() const
    {
        return m_startTick;
    }
    qint64 WindowStart() const
    {
        return m_windowStart;
    }
    qint64 WindowSpan() const
    {
        return m_windowSpan;
    }
    const QString &TimeBaseText() const
    {
        return m_timeBaseText;
    }
    qint64 Now() const
    {
        return m_clock();
    }
    TRepaintThrottle &Throttle() const
    {
        return *m_throttle;
    }

    enum TAddResult { Dropped, Stored, RepaintNow };
    // Stamps the value with the time now and adds it to the channel (0 ... 3)
    // and lets the window follow the present. RepaintNow when the throttle
    // lets the view repaint now. A channel number out of range or a value
    // that is not a number is dropped; an infinite value is kept as the
    // largest finite one.
    TAddResult AddSample(int channel, float value);
    // The time origin and the window start at now; every channel empty with
    // the scale 0 ... 1.
    void ClearScope();
    // Window of 20 divisions ending now, but starting no earlier than the
    // last clear.
    void SetTimeBase(qint64 msPerDiv, const QString &caption);
    // Once the window is full, moves its right edge to now. Returns whether
    // the window moved.
    bool FollowPresent(qint64 now);
    // From now on this model's clock stands at the current time (the
    // picture of a paused scope).
    void StopClock();

    // Cursor texts at time t, each cut to the 20 characters of a box.
    TScopeReadout Readout(qint64 t) const;

private:
    void PassWindow();

    TScopeClock m_clock;
    std::shared_ptr<TRepaintThrottle> m_ownThrottle; // copies (a frozen view) share it
    TRepaintThrottle *m_throttle;
    std::array<TMcuChannel, kChannelCount> m_channels;
    qint64 m_startTick = 0;
    qint64 m_windowStart = 0;
    qint64 m_windowSpan = 20000;
    QString m_timeBaseText = QStringLiteral("1s / div");
};
