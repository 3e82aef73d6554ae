#include "ScopeChannel.h"

TMcuChannel::TMcuChannel(TScopeRgb color)
    : m_color(color)
{
}

void TMcuChannel::Add(qint64 time, float value)
{
    if (m_count == kCapacity) {
        m_first = m_first + 1 == kCapacity ? 0 : m_first + 1;
        --m_count;
    }
    if (m_autoScale) {
        if (value > m_max)
            m_max = value;
        if (value < m_min)
            m_min = value;
    }
    int slot = m_first + m_count;
    if (slot >= kCapacity)
        slot -= kCapacity;
    m_samples[slot] = {time, value};
    ++m_count;
}

void TMcuChannel::Clear()
{
    m_first = 0;
    m_count = 0;
    m_min = 0;
    m_max = 1;
}

const TScopeSample &TMcuChannel::Sample(int index) const
{
    int slot = m_first + index;
    if (slot >= kCapacity)
        slot -= kCapacity;
    return m_samples[slot];
}

float TMcuChannel::ValueAt(qint64 t) const
{
    for (int i = m_count - 1; i >= 0; --i) {
        const TScopeSample &sample = Sample(i);
        if (sample.time <= t)
            return sample.value;
    }
    return 0;
}

void TMcuChannel::SetWindow(qint64 start, qint64 span)
{
    m_windowStart = start;
    m_windowSpan = span;
}
