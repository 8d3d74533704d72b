#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/answer_completion.h"
#include "link/identification.h"

namespace orvanic {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CalendarDate&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const TimeOfDay&) const = default;
};

// Read the clock. Own protocol: command 09. Modbus: registers 0 to 2.
std::vector<std::uint8_t> clockReadRequest(Protocol protocol, std::uint8_t address);
ExpectedAnswer clockReadAnswer(Protocol protocol);

// What a clock answer says; a part is missing when its numbers form no
// valid date or time of day. The two-digit year is placed within fifty
// years of `currentYear`.
struct DeviceClock {
    std::optional<CalendarDate> date;
    std::optional<TimeOfDay> time;
};
DeviceClock decodeClockAnswer(Protocol protocol, std::span<const std::uint8_t> answer, int currentYear);

// A clock answer whose checksum matches. The values sit at fixed offsets, so
// noise before an answer, or an answer cut short, can still read as a valid
// date and time: only an intact answer is decoded.
bool clockAnswerIntact(Protocol protocol, std::span<const std::uint8_t> answer);

// Set the clock: own command 01 with six plain bytes (a 0x10 among them is
// sent once, not doubled); Modbus writes registers 10 to 13.
std::vector<std::uint8_t> setClockRequest(Protocol protocol, std::uint8_t address, const CalendarDate& date,
                                          const TimeOfDay& time);
ExpectedAnswer setClockAnswer(Protocol protocol);

// Days since 1899-12-30, the fraction being the time of day.
double toTDateTime(const CalendarDate& date);
double toTDateTime(const TimeOfDay& time);

}  // namespace orvanic
