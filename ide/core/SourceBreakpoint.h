#pragma once

#include <QList>
#include <QString>

// A breakpoint on a source line (1-based). With a condition on the program's
// variables ("count > 10") it stops only when the condition holds; with a
// hit count it stops from that hit on (0 and 1: at every hit). The hits are
// counted where the condition holds.
struct TSourceBreakpoint {
    int line = 0;
    QString condition;
    int hitCount = 0;

    // Not explicit: a bare line converts to a plain breakpoint.
    TSourceBreakpoint(int atLine = 0, const QString &when = QString(), int fromHit = 0)
        : line(atLine)
        , condition(when.trimmed())
        , hitCount(fromHit)
    {
    }
    // Neither a condition nor a hit count: it stops at every pass.
    bool Plain() const
    {
        return condition.isEmpty() && hitCount <= 1;
    }
    bool operator==(const TSourceBreakpoint &) const = default;
};

using TSourceBreakpoints = QList<TSourceBreakpoint>;
