#include <gtest/gtest.h>

#include <cmath>

#include "link/value_codec.h"

namespace orvanic {
namespace {

struct FloatCase {
    std::uint8_t b0, b1, b2, b3;
    float expected;
};

TEST(DecodeFloat, DeviceValues)
{
    const FloatCase cases[] = {
        {0x3F, 0x80, 0x00, 0x00, 1.0f},
        {0xBF, 0x80, 0x00, 0x00, -1.0f},
        {0x41, 0x20, 0x00, 0x00, 10.0f},
        {0x42, 0xF6, 0xE9, 0x79, 123.456f},
        {0x7F, 0x80, 0x00, 0x00, 4294967296.0f},  // infinity
        {0xFF, 0x80, 0x00, 0x00, 4294967296.0f},  // minus infinity
        {0x7F, 0xC0, 0x00, 0x00, 4294967296.0f},  // not a number
        {0x00, 0x00, 0x00, 0x01, std::ldexp(1.0f + 1.0f / 8388608.0f, -127)},  // no subnormals
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeFloat(c.b0, c.b1, c.b2, c.b3), c.expected) << std::hex << int(c.b0) << ' ' << int(c.b1);
}

TEST(DecodeFloat, ZeroIsNeverNegative)
{
    EXPECT_FALSE(std::signbit(DecodeFloat(0x00, 0x00, 0x00, 0x00)));
    EXPECT_FALSE(std::signbit(DecodeFloat(0x80, 0x00, 0x00, 0x00)));
    EXPECT_EQ(DecodeFloat(0x80, 0x00, 0x00, 0x00), 0.0f);
}

}  // namespace
}  // namespace orvanic
