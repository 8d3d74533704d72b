#include "acquire/device_clock.h"

#include <chrono>

#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {
namespace {

constexpr std::uint8_t kReadClock = 0x09;
constexpr std::uint8_t kSetClock = 0x01;
constexpr std::uint16_t kClockRegister = 0;
constexpr std::uint16_t kClockRegisters = 3;
constexpr std::uint8_t kSetClockRegister = 10;

// Offsets of year, month, day, hour, minute and second in the answers.
constexpr std::size_t kOwnOffsets[6] = {4, 5, 6, 7, 8, 9};
constexpr std::size_t kModbusOffsets[6] = {4, 3, 6, 5, 8, 7};

int fullYear(int yearOfCentury, int currentYear)
{
    int year = currentYear - 50;
    year += ((yearOfCentury - year) % 100 + 100) % 100;
    return year;
}

bool validDate(const CalendarDate& d)
{
    using namespace std::chrono;
    return year_month_day{year{d.year}, month{static_cast<unsigned>(d.month)}, day{static_cast<unsigned>(d.day)}}.ok();
}

std::uint8_t yearOfCentury(int year)
{
    return static_cast<std::uint8_t>(((year % 100) + 100) % 100);
}

}  // namespace

std::vector<std::uint8_t> clockReadRequest(Protocol protocol, std::uint8_t address)
{
    if (protocol == Protocol::Modbus)
        return modbus::readHoldingRegisters(address, kClockRegister, kClockRegisters);
    return own::request(address, kReadClock);
}

ExpectedAnswer clockReadAnswer(Protocol protocol)
{
    if (protocol == Protocol::Modbus)
        return ExpectedAnswer::modbus(modbus::kReadHoldingRegisters);
    return ExpectedAnswer::own(own::kPayloadOffset + 6 + 4);
}

DeviceClock decodeClockAnswer(Protocol protocol, std::span<const std::uint8_t> answer, int currentYear)
{
    // Bytes the answer does not reach read as 0.
    const std::size_t* offsets = protocol == Protocol::Modbus ? kModbusOffsets : kOwnOffsets;
    int v[6];
    for (int i = 0; i < 6; ++i)
        v[i] = offsets[i] < answer.size() ? answer[offsets[i]] : 0;
    DeviceClock clock;
    const CalendarDate date{fullYear(v[0], currentYear), v[1], v[2]};
    if (validDate(date))
        clock.date = date;
    if (v[3] < 24 && v[4] < 60 && v[5] < 60)
        clock.time = TimeOfDay{v[3], v[4], v[5]};
    return clock;
}

bool clockAnswerIntact(Protocol protocol, std::span<const std::uint8_t> answer)
{
    if (protocol == Protocol::Modbus)
        return answer.size() >= modbus::kMinAnswerLength && modbus::checksumMatches(answer);
    return answer.size() >= own::kMinAnswerLength && own::checksumMatches(answer);
}

std::vector<std::uint8_t> setClockRequest(Protocol protocol, std::uint8_t address, const CalendarDate& date,
                                          const TimeOfDay& time)
{
    const auto yy = yearOfCentury(date.year);
    const auto month = static_cast<std::uint8_t>(date.month);
    const auto day = static_cast<std::uint8_t>(date.day);
    const auto hour = static_cast<std::uint8_t>(time.hour);
    const auto minute = static_cast<std::uint8_t>(time.minute);
    const auto second = static_cast<std::uint8_t>(time.second);
    if (protocol == Protocol::Modbus)
        return modbus::frame({address, modbus::kWriteMultipleRegisters, 0x00, kSetClockRegister, 0x00, 0x04, 0x08,
                              yy, 0x01, day, month, minute, hour, 0xFF, second});
    const std::uint8_t params[] = {yy, month, day, hour, minute, second};
    return own::request(address, kSetClock, params);
}

ExpectedAnswer setClockAnswer(Protocol protocol)
{
    if (protocol == Protocol::Modbus)
        return ExpectedAnswer::modbus(modbus::kWriteMultipleRegisters);
    return ExpectedAnswer::own(8);
}

double toTDateTime(const CalendarDate& date)
{
    using namespace std::chrono;
    const sys_days day = year_month_day{year{date.year}, month{static_cast<unsigned>(date.month)},
                                        std::chrono::day{static_cast<unsigned>(date.day)}};
    const sys_days epoch = year_month_day{year{1899}, December, std::chrono::day{30}};
    return static_cast<double>((day - epoch).count());
}

double toTDateTime(const TimeOfDay& time)
{
    return (time.hour * 3600.0 + time.minute * 60.0 + time.second) / 86400.0;
}

}  // namespace orvanic
