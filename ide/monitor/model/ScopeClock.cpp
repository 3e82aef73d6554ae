#include "ScopeClock.h"

#include <chrono>

TScopeClock SteadyTickClock()
{
    return [] {
        using namespace std::chrono;
        return static_cast<qint64>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
}
