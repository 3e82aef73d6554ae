#include "ModuleClock.h"

#include "TokenTable.h"

#include <algorithm>

namespace velsim {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kDaysFrom1970To2000 = 10957;

std::tm Broken(int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    ::gmtime_r(&t, &tm);
    return tm;
}

// Bounds for the values a program may set, so that the clock stays within
// the calendar the host can compute.
constexpr int32_t kMaxDays = 1000000;
constexpr int32_t kMaxPart = 100000;

// The calendar the clock keeps to, 0001-01-01 to 9999-12-31: however often a
// program moves it, a year always fits the module's numbers.
constexpr int64_t kEarliest = -62135596800;
constexpr int64_t kLatest = 253402300799;

int32_t Bound(int32_t value, int32_t limit)
{
    return value < -limit ? -limit : value > limit ? limit : value;
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

} // namespace

CModuleClock::CModuleClock()
    : m_start(std::chrono::steady_clock::now())
    , m_wall([] { return std::time(nullptr); })
{
}

void CModuleClock::Restart()
{
    m_start = std::chrono::steady_clock::now();
    m_steppedMs = 0;
    for (int n = 0; n < kTimers; ++n) {
        m_timerValue[n] = 0;
        m_timerSetAt[n] = 0;
    }
}

int64_t CModuleClock::Millis() const
{
    if (m_stepped)
        return m_steppedMs;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
}

void CModuleClock::Advance(int64_t ms)
{
    if (m_stepped)
        m_steppedMs += std::max<int64_t>(ms, 1);
}

int32_t CModuleClock::Timer(int n) const
{
    const uint32_t elapsed = static_cast<uint32_t>(Millis() - m_timerSetAt[n]);
    return static_cast<int32_t>(static_cast<uint32_t>(m_timerValue[n]) + elapsed);
}

void CModuleClock::SetTimer(int n, int32_t value)
{
    m_timerValue[n] = value;
    m_timerSetAt[n] = Millis();
}

int64_t CModuleClock::LocalSeconds() const
{
    const std::time_t now = m_wall();
    std::tm local{};
    ::localtime_r(&now, &local);
    return static_cast<int64_t>(now) + local.tm_gmtoff + m_offset;
}

int32_t CModuleClock::Read(int sym, int part) const
{
    const int64_t seconds = LocalSeconds();
    const std::tm tm = Broken(seconds);
    switch (part) {
    case symHOUR:
        return tm.tm_hour;
    case symMINUTE:
        return tm.tm_min;
    case symSECOND:
        return tm.tm_sec;
    case symYEAR:
        return tm.tm_year + 1900;
    case symMONTH:
        return tm.tm_mon + 1;
    case symDAY:
        return tm.tm_mday;
    default:
        break;
    }
    if (sym == symTIME)
        return static_cast<int32_t>(seconds - FloorDiv(seconds, kSecondsPerDay) * kSecondsPerDay);
    if (sym == symDATE)
        return static_cast<int32_t>(FloorDiv(seconds, kSecondsPerDay) - kDaysFrom1970To2000);
    return (tm.tm_wday + m_weekdayOffset) % 7; // DAY on its own: the weekday
}

void CModuleClock::Write(int sym, int part, int32_t value)
{
    const int64_t seconds = LocalSeconds();
    std::tm tm = Broken(seconds);
    value = Bound(value, sym == symTIME && part < 0 ? kMaxDays * 24 : sym == symDATE && part < 0 ? kMaxDays : kMaxPart);
    if (sym == symDAY && part < 0) {
        m_weekdayOffset = static_cast<int>(((value - tm.tm_wday) % 7 + 7) % 7);
        return;
    }
    switch (part) {
    case symHOUR:
        tm.tm_hour = value;
        break;
    case symMINUTE:
        tm.tm_min = value;
        break;
    case symSECOND:
        tm.tm_sec = value;
        break;
    case symYEAR:
        tm.tm_year = (value < 1 ? 1 : value > 9999 ? 9999 : value) - 1900;
        break;
    case symMONTH:
        tm.tm_mon = value - 1;
        break;
    case symDAY:
        tm.tm_mday = value;
        break;
    default: {
        // TIME or DATE as a whole: move the clock by the difference.
        const int64_t now = Read(sym, -1);
        MoveTo(seconds + (static_cast<int64_t>(value) - now) * (sym == symTIME ? 1 : kSecondsPerDay), seconds);
        return;
    }
    }
    MoveTo(static_cast<int64_t>(::timegm(&tm)), seconds);
}

void CModuleClock::MoveTo(int64_t target, int64_t now)
{
    m_offset += std::clamp(target, kEarliest, kLatest) - now;
}

} // namespace velsim
