#pragma once

#include "ScopeClock.h"

// A tick counter the test sets by hand.
struct TManualClock {
    qint64 now = 1000;

    TScopeClock Clock()
    {
        return [this] { return now; };
    }
};
