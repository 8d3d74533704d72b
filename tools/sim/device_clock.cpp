#include "device_clock.h"

#include <ctime>

namespace orvanic::sim {

namespace {

// timegm/gmtime_r on a broken-down time give a calendar without time zones or
// daylight saving, which is what a device clock is. They also normalise
// out-of-range fields (e.g. 32 January) instead of refusing them.
std::int64_t toSeconds(const ClockFields& f)
{
    std::tm tm{};
    tm.tm_year = f.year - 1900;
    tm.tm_mon = f.month - 1;
    tm.tm_mday = f.day;
    tm.tm_hour = f.hour;
    tm.tm_min = f.minute;
    tm.tm_sec = f.second;
    return static_cast<std::int64_t>(timegm(&tm));
}

ClockFields fromTm(const std::tm& tm)
{
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

ClockFields localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return fromTm(tm);
}

}  // namespace

DeviceClock::DeviceClock(std::optional<ClockFields> start)
{
    set(start ? *start : localNow());
}

ClockFields DeviceClock::now() const
{
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::steady_clock::now() - m_baseAt);
    const auto seconds = static_cast<std::time_t>(m_baseSeconds + elapsed.count());
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    return fromTm(tm);
}

void DeviceClock::set(const ClockFields& fields)
{
    m_baseSeconds = toSeconds(fields);
    m_baseAt = std::chrono::steady_clock::now();
}

}  // namespace orvanic::sim
