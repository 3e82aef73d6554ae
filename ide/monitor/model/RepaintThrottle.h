#pragma once

#include <QtGlobal>

#include <optional>

// Lets a view repaint at most once per interval however fast its data
// arrives: a request is granted when it comes more than kInterval
// milliseconds after the last granted one. The workbench's scopes share
// one throttle, which the application's state object holds.
class TRepaintThrottle {
public:
    static constexpr qint64 kInterval = 50;

    // True when a repaint may be requested at time t; t is then remembered.
    bool Request(qint64 t);
    // Milliseconds from t until a request will be granted; 0 when it would be
    // granted at t.
    qint64 Wait(qint64 t) const;

private:
    std::optional<qint64> m_last;
};
