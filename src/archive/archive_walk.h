#pragma once

#include <cstdint>
#include <string>

#include "acquire/device_clock.h"

namespace orvanic {

enum class ArchiveType : std::uint8_t { Hourly = 0, Daily = 1, Monthly = 2 };

// The walk of an archive read through its periods, one request each, and
// the progress estimate. Day and hour are 255 where the archive type has
// none (daily records have no hour; monthly ones neither day nor hour).
struct ArchiveWalk {
    static constexpr std::uint8_t kUnused = 255;

    ArchiveType type = ArchiveType::Hourly;
    CalendarDate devBeginTime;
    CalendarDate DevEndTime;      // monthly reads: moved into the end date's month's reach
    CalendarDate devCurrentTime;  // the period being read
    std::uint8_t arcYear = 0;     // year % 100
    std::uint8_t arcMonth = 1;
    std::uint8_t arcDay = 1;
    std::uint8_t arcHour = 0;
    std::uint8_t arcBeginHour = 0;
    std::uint8_t arcEndHour = kUnused;
    std::int32_t arcTotal = 0;  // estimated periods, the progress denominator
    std::int32_t arcDone = 0;
    std::int32_t arcCrcRetries = 0;
};

// A walk at its first period. Hours are used by hourly reads only.
ArchiveWalk startArchiveWalk(ArchiveType type, const CalendarDate& begin, const CalendarDate& end, int beginHour, int endHour);

// The period's row caption: 07:05.03.2017 hourly, 05.03.2017 daily,
// 255.03.2017 monthly.
std::string periodText(const ArchiveWalk& walk);

enum class WalkStep {
    Repeat,    // the same period again, after a checksum failure
    Next,      // the walk moved on to its next period
    Finished,  // the range is walked
};

// After an exchange: a checksum failure is asked again up to twice more;
// otherwise the walk moves on, and says when it has passed its end.
WalkStep afterArchiveExchange(ArchiveWalk& walk, bool checksumFailed);

// trunc(arcDone / arcTotal x 100), kept within 0 to 100.
int progressPercent(const ArchiveWalk& walk);

}  // namespace orvanic
