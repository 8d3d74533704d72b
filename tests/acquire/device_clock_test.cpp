#include <gtest/gtest.h>

#include "acquire/device_clock.h"
#include "link/crc.h"
#include "link/modbus.h"

namespace orvanic {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DeviceClock, Requests)
{
    EXPECT_EQ(clockReadRequest(Protocol::Own, 1), (Bytes{0x10, 0x60, 1, 1, 0x10, 0x01, 0x09, 0x10, 0x03, 0x9D, 0xC3}));
    EXPECT_EQ(clockReadRequest(Protocol::Modbus, 1), (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x03, 0x05, 0xCB}));

    // 16:16:16 on 16.10.2016: every 0x10 goes out once.
    const Bytes own = setClockRequest(Protocol::Own, 1, {2016, 10, 16}, {16, 16, 16});
    ASSERT_EQ(own.size(), 17u);
    EXPECT_EQ(Bytes(own.begin(), own.begin() + 15), (Bytes{0x10, 0x60, 1, 1, 0x10, 0x01, 0x01, 0x10, 0x0A, 0x10, 0x10, 0x10, 0x10, 0x10, 0x03}));
    const std::uint16_t crc = CRC16Str(std::span(own).subspan(6, 9));
    EXPECT_EQ(own[15], lowByte(crc));
    EXPECT_EQ(own[16], highByte(crc));

    const Bytes modbus = setClockRequest(Protocol::Modbus, 1, {2024, 2, 29}, {13, 5, 0});
    EXPECT_EQ(modbus, modbus::frame({0x01, 0x10, 0x00, 0x0A, 0x00, 0x04, 0x08, 24, 0x01, 29, 2, 5, 13, 0xFF, 0}));
}

TEST(DeviceClock, AnswersOfBothProtocols)
{
    const Bytes own = {0x10, 0x01, 0x01, 0x01, 24, 2, 29, 13, 5, 0, 0x10, 0x03, 0, 0};
    const Bytes modbus = {0x01, 0x03, 0x06, 2, 24, 13, 29, 0, 5, 0, 0};
    for (const auto& [protocol, answer] : {std::pair{Protocol::Own, own}, std::pair{Protocol::Modbus, modbus}}) {
        const DeviceClock c = decodeClockAnswer(protocol, answer, 2026);
        ASSERT_TRUE(c.date && c.time);
        EXPECT_EQ(*c.date, (CalendarDate{2024, 2, 29}));
        EXPECT_EQ(*c.time, (TimeOfDay{13, 5, 0}));
    }
}

TEST(DeviceClock, InvalidPartsAndTheCentury)
{
    auto own = [](int yy, int mm, int dd, int hh) {
        return decodeClockAnswer(Protocol::Own, Bytes{0x10, 0x01, 0, 0, std::uint8_t(yy), std::uint8_t(mm), std::uint8_t(dd), std::uint8_t(hh), 0, 0}, 2025);
    };
    EXPECT_FALSE(own(24, 0, 1, 10).date);
    EXPECT_FALSE(own(23, 2, 29, 10).date) << "2023 is no leap year";
    EXPECT_FALSE(own(24, 1, 1, 24).time);
    EXPECT_TRUE(own(24, 1, 1, 24).date);
    EXPECT_EQ(own(74, 1, 1, 0).date->year, 2074);
    EXPECT_EQ(own(75, 1, 1, 0).date->year, 1975);
    EXPECT_EQ(own(0, 1, 1, 0).date->year, 2000);
    // Bytes past a short answer read as 0: no month, so no date.
    EXPECT_FALSE(decodeClockAnswer(Protocol::Own, Bytes{0x10, 0x01}, 2025).date);
}

TEST(DeviceClock, DateTimeValues)
{
    EXPECT_EQ(toTDateTime(CalendarDate{1899, 12, 30}), 0.0);
    EXPECT_EQ(toTDateTime(CalendarDate{2024, 2, 29}), 45351.0);
    EXPECT_DOUBLE_EQ(toTDateTime(TimeOfDay{12, 0, 0}), 0.5);
}

}  // namespace
}  // namespace orvanic
