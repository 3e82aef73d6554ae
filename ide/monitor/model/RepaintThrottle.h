#pragma once

#include <QtGlobal>

#include <optional>

// Lets a view repaint at most once per interval however fast its data
// arrives: a request is granted when it comes more than kInterval
// milliseconds after the last granted one. The program shares one throttle
// (Shared()); tests make their own.
class TRepaintThrottle {
public:
    static constexpr qint64 kInterval = 50;

    // True when a repaint may be requested at time t; t is then remembered.
    bool Request(qint64 t);
    // Milliseconds from t until a request will be granted; 0 when it would be
    // granted at t.
    qint64 Wait(qint64 t) const;

    static TRepaintThrottle &Shared();

private:
    std::optional<qint64> m_last;
};
