// The module's clocks: a millisecond count since the program started (PAUSE,
// the four TIMERs, the test signals) and the real-time clock behind TIME,
// DATE and DAY, which runs with the host's local time until a program sets
// it and then keeps the difference. A stepped clock does not follow the
// host: it stands until a wait advances it, so PAUSE, WAIT and the timers
// take no real time (fuzzing, tests).
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>

namespace velsim {

class CModuleClock {
public:
    // A source of the host's time in seconds since 1970 (tests inject one).
    using WallSource = std::function<std::time_t()>;

    CModuleClock();

    // A program starts: the millisecond count and the timers begin at 0.
    void Restart();
    int64_t Millis() const;

    int32_t Timer(int n) const;
    void SetTimer(int n, int32_t value);

    // TIME (seconds since midnight), TIME.HOUR/MINUTE/SECOND, DATE (days
    // since 1 January 2000), DATE.YEAR/MONTH/DAY, DAY (weekday, 0 = Sunday).
    // `part` is the symbol of the suffix, or -1.
    int32_t Read(int sym, int part) const;
    void Write(int sym, int part, int32_t value);

    // The millisecond count stands still except by Advance().
    void SetStepped(bool on)
    {
        m_stepped = on;
        m_steppedMs = 0;
    }
    bool Stepped() const
    {
        return m_stepped;
    }
    // A wait of `ms` has passed on a stepped clock.
    void Advance(int64_t ms);

    void SetWallSource(WallSource source)
    {
        m_wall = std::move(source);
    }

    static constexpr int kTimers = 4;

private:
    // Sets the clock so that it reads `target` local seconds (kept within the
    // calendar it can show) where it reads `now`.
    void MoveTo(int64_t target, int64_t now);
    // Seconds since 1970 of the module's local time, read as UTC.
    int64_t LocalSeconds() const;

    std::chrono::steady_clock::time_point m_start;
    bool m_stepped = false;
    int64_t m_steppedMs = 0; // the count of a stepped clock
    int64_t m_offset = 0; // seconds the program moved the clock
    int m_weekdayOffset = 0;
    int32_t m_timerValue[kTimers] = {};
    int64_t m_timerSetAt[kTimers] = {};
    WallSource m_wall;
};

} // namespace velsim
