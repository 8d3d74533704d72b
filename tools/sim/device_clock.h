#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace orvanic::sim {

struct ClockFields {
    int year = 2000;  // full year
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The device's wall clock: set once (or taken from the PC's local time), then
// running on with the monotonic clock so PC clock changes do not move it.
class DeviceClock {
public:
    explicit DeviceClock(std::optional<ClockFields> start);

    ClockFields now() const;
    void set(const ClockFields& fields);

private:
    std::int64_t m_baseSeconds = 0;  // the set time, as seconds of a zone-less calendar
    std::chrono::steady_clock::time_point m_baseAt;
};

}  // namespace orvanic::sim
