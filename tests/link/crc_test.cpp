#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "link/crc.h"

namespace orvanic {
namespace {

std::vector<std::uint8_t> bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

struct CrcCase {
    std::vector<std::uint8_t> input;
    std::uint16_t buf;  // Modbus RTU
    std::uint16_t str;  // own protocol
};

TEST(Crc, PublishedAndDeviceVectors)
{
    const CrcCase cases[] = {
        {bytes("123456789"), 0x4B37, 0xBB3D},
        {bytes("abc"), 0x5749, 0x9738},
        {{0x01, 0x11}, 0x2CC0, 0},
        {{0xE0, 0x10, 0x03}, 0, 0x374C},
        {{0x0B, 0x10, 0x03}, 0, 0x033C},
        {{0x0C, 0x10, 0x03}, 0, 0xC28D},
        {{0x09, 0x10, 0x03}, 0, 0xC39D},
    };
    for (const auto& c : cases) {
        if (c.buf) {
            EXPECT_EQ(CRC16Buf(c.input), c.buf);
        }
        if (c.str) {
            EXPECT_EQ(CRC16Str(c.input), c.str);
        }
    }
    EXPECT_EQ(CRC16Str({}), 0x0000);
}

TEST(Crc, ReverseBits)
{
    EXPECT_EQ(ReverseBits(0x01, 8), 0x80u);
    EXPECT_EQ(ReverseBits(0x8005, 16), 0xA001u);
    EXPECT_EQ(ReverseBits(0xE0, 8), 0x07u);
    EXPECT_EQ(ReverseBits(0x1FF, 8), 0xFFu) << "bits above the width are ignored";
    EXPECT_EQ(ReverseBits(0xFF, 0), 0u);
    EXPECT_EQ(ReverseBits(0xFF, -3), 0u);
}

}  // namespace
}  // namespace orvanic
