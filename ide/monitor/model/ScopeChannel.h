#pragma once

#include <QtGlobal>

#include <array>

// A colour as red, green and blue (0 to 255); the model has no widgets.
struct TScopeRgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

// One sample: its arrival time on the tick counter and its value.
struct TScopeSample {
    qint64 time = 0;
    float value = 0;
};

// One scope channel: the last kCapacity samples, oldest first, its value
// scale (growing with the data or fixed), whether it is shown, its colour and
// the scope's visible time window.
//
// The samples are kept in a ring, so adding one costs the same whether the
// channel is full or not; seen from outside the oldest sample is dropped when
// a full channel takes a new one.
class TMcuChannel {
public:
    static constexpr int kCapacity = 2047;

    explicit TMcuChannel(TScopeRgb color = {});

    // Drops the oldest sample of a full channel, widens an automatic scale to
    // take the value, and appends the sample.
    void Add(qint64 time, float value);
    // No samples, scale 0 ... 1 (in both scale modes).
    void Clear();

    int SampleCount() const
    {
        return m_count;
    }
    // Sample by age: 0 is the oldest.
    const TScopeSample &Sample(int index) const;
    // The value of the newest sample whose time is not after t; 0 when there
    // is none.
    float ValueAt(qint64 t) const;

    float Min() const
    {
        return m_min;
    }
    float Max() const
    {
        return m_max;
    }
    void SetMin(float min)
    {
        m_min = min;
    }
    void SetMax(float max)
    {
        m_max = max;
    }
    bool AutoScale() const
    {
        return m_autoScale;
    }
    void SetAutoScale(bool autoScale)
    {
        m_autoScale = autoScale;
    }
    bool Active() const
    {
        return m_active;
    }
    void SetActive(bool active)
    {
        m_active = active;
    }
    TScopeRgb Color() const
    {
        return m_color;
    }

    qint64 WindowStart() const
    {
        return m_windowStart;
    }
    qint64 WindowSpan() const
    {
        return m_windowSpan;
    }
    void SetWindow(qint64 start, qint64 span);

private:
    std::array<TScopeSample, kCapacity> m_samples{};
    int m_first = 0; // ring index of the oldest sample
    int m_count = 0;
    float m_min = 0;
    float m_max = 1;
    bool m_autoScale = true;
    bool m_active = true;
    TScopeRgb m_color;
    qint64 m_windowStart = 0;
    qint64 m_windowSpan = 1;
};
