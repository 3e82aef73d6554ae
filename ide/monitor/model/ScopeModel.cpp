#include "ScopeModel.h"

#include "ScopeText.h"

#include <cmath>
#include <limits>

const TScopeRgb TScopeModel::kChannelColors[kChannelCount] = {
    {240, 0, 255},
    {250, 170, 0},
    {0, 200, 255},
    {130, 205, 130},
};

TScopeModel::TScopeModel(TScopeClock clock, TRepaintThrottle *throttle)
    : m_clock(std::move(clock))
    , m_ownThrottle(throttle ? nullptr : std::make_shared<TRepaintThrottle>())
    , m_throttle(throttle ? throttle : m_ownThrottle.get())
    , m_channels{TMcuChannel(kChannelColors[0]), TMcuChannel(kChannelColors[1]), TMcuChannel(kChannelColors[2]),
                 TMcuChannel(kChannelColors[3])}
{
    ClearScope();
}

TScopeModel::TAddResult TScopeModel::AddSample(int channel, float value)
{
    if (channel < 0 || channel >= kChannelCount || std::isnan(value))
        return Dropped;
    if (std::isinf(value))
        value = std::copysign(std::numeric_limits<float>::max(), value);
    const qint64 t = m_clock();
    m_channels[channel].Add(t, value);
    FollowPresent(t);
    return m_throttle->Request(t) ? RepaintNow : Stored;
}

void TScopeModel::ClearScope()
{
    m_startTick = m_windowStart = m_clock();
    for (TMcuChannel &channel : m_channels)
        channel.Clear();
    PassWindow();
}

void TScopeModel::SetTimeBase(qint64 msPerDiv, const QString &caption)
{
    m_timeBaseText = caption;
    m_windowSpan = msPerDiv * kDivisions;
    m_windowStart = std::max(m_clock() - m_windowSpan, m_startTick);
    PassWindow();
}

bool TScopeModel::FollowPresent(qint64 now)
{
    if (now - m_windowStart <= m_windowSpan)
        return false;
    m_windowStart = now - m_windowSpan;
    PassWindow();
    return true;
}

void TScopeModel::StopClock()
{
    m_clock = [t = m_clock()] { return t; };
}

TScopeReadout TScopeModel::Readout(qint64 t) const
{
    TScopeReadout readout;
    readout.time = CutReadoutText(ReadoutTimeText(t - m_startTick));
    for (int i = 0; i < kChannelCount; ++i)
        if (m_channels[i].Active())
            readout.values[i] = CutReadoutText(ReadoutValueText(m_channels[i].ValueAt(t)));
    return readout;
}

void TScopeModel::PassWindow()
{
    for (TMcuChannel &channel : m_channels)
        channel.SetWindow(m_windowStart, m_windowSpan);
}
