// Clock answers of both protocols.
//
//   byte 0    bit 0: Modbus, else the own protocol
//   byte 1    the current year, 1950 + byte
//   the rest  the answer

#include "acquire/device_clock.h"
#include "fuzz_check.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const Protocol protocol = (data[0] & 1) ? Protocol::Modbus : Protocol::Own;
    const int currentYear = 1950 + data[1];
    const std::vector<std::uint8_t> answer(data + 2, data + size);
    const DeviceClock clock = decodeClockAnswer(protocol, answer, currentYear);
    if (clock.date) {
        // The two-digit year lands within fifty years of the current one.
        FUZZ_CHECK(clock.date->year >= currentYear - 50 && clock.date->year < currentYear + 50);
        FUZZ_CHECK(clock.date->month >= 1 && clock.date->month <= 12);
        FUZZ_CHECK(clock.date->day >= 1 && clock.date->day <= 31);
        (void)toTDateTime(*clock.date);
    }
    if (clock.time) {
        FUZZ_CHECK(clock.time->hour >= 0 && clock.time->hour < 24);
        FUZZ_CHECK(clock.time->minute >= 0 && clock.time->minute < 60);
        FUZZ_CHECK(clock.time->second >= 0 && clock.time->second < 60);
        (void)toTDateTime(*clock.time);
    }
    return 0;
}
