#pragma once

#include <QtGlobal>

#include <functional>

// The tick counter the scope stamps its samples with: milliseconds of a
// monotonic clock. 64 bits wide, so a workbench left running for weeks never
// sees the counter wrap. Tests and benchmarks pass a clock of their own.
using TScopeClock = std::function<qint64()>;

// Milliseconds of the system's monotonic clock.
TScopeClock SteadyTickClock();
