#pragma once

// The numbers the simulated device puts into its records. They are plain
// formulas of how many answers were sent before, or of the archive period,
// so that a test can predict every value the simulator will send.
//
// `field` is the 1-based position of a value among the description's value
// fields. Time counters are in units of 10 s. An archive period is
// (yy, mm, dd, hh) with dd == 255 for a monthly and hh == 255 for a daily or
// monthly record.

#include <cstdint>

namespace orvanic::sim {

inline constexpr int kWholePeriod = 255;

struct ArchivePeriod {
    int year = 0;  // two digits, 0..99
    int month = 1;
    int day = 1;   // kWholePeriod: monthly record
    int hour = 0;  // kWholePeriod: daily or monthly record

    friend bool operator==(const ArchivePeriod&, const ArchivePeriod&) = default;
};

// Current data; n = current-data answers sent before this one.
inline float currentFieldValue(int field, std::uint32_t n)
{
    return static_cast<float>(100 * field) + 0.5f * static_cast<float>(n);
}
inline std::int32_t currentTimeCounter(std::uint32_t n) { return static_cast<std::int32_t>(360 * (n + 1)); }
inline std::int32_t currentStatus(std::uint32_t n) { return static_cast<std::int32_t>(n % 2); }
// Modbus extras of current data: the sim clock's hour, then this one.
inline float currentPollCounter(std::uint32_t n) { return static_cast<float>(n); }

// Screen data; m = screen answers sent before this one. Over Modbus its
// extras are the clock's hour and m, like current data.
inline float screenFieldValue(int field, std::uint32_t m)
{
    return static_cast<float>(1000 * field) + 0.25f * static_cast<float>(m);
}
inline std::int32_t screenTimeCounter(std::uint32_t m) { return static_cast<std::int32_t>(720 * (m + 1)); }
inline std::int32_t screenStatus(std::uint32_t) { return 0; }
inline float screenPollCounter(std::uint32_t m) { return static_cast<float>(m); }

// Archive records.
inline int archiveDayOf(const ArchivePeriod& p) { return p.day == kWholePeriod ? 0 : p.day; }
inline int archiveHourOf(const ArchivePeriod& p) { return p.hour == kWholePeriod ? 0 : p.hour; }

inline float archiveFieldValue(int field, const ArchivePeriod& p)
{
    return static_cast<float>(1000 * field + 100 * p.month + archiveDayOf(p))
        + static_cast<float>(archiveHourOf(p)) / 100.0f;
}
inline std::int32_t archiveTimeCounter(const ArchivePeriod& p)
{
    if (archiveDayOf(p) == 13)
        return 0;
    return p.hour == kWholePeriod ? 8640 : 360;
}
inline std::int32_t archiveStatus(const ArchivePeriod& p)
{
    const int d = archiveDayOf(p);
    return (d % 5 == 0 && d != 0) ? 1 : 0;
}
// Modbus extras of an archive record.
inline float archiveHourValue(const ArchivePeriod& p) { return static_cast<float>(archiveHourOf(p)); }
inline float archiveDateValue(const ArchivePeriod& p)
{
    return static_cast<float>(archiveDayOf(p) * 10000 + p.month * 100 + p.year);
}

}  // namespace orvanic::sim
