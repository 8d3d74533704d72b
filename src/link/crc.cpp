#include "link/crc.h"

namespace orvanic {

std::uint16_t CRC16Buf(std::span<const std::uint8_t> bytes)
{
    std::uint16_t c = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        c ^= byte;
        for (int i = 0; i < 8; ++i)
            c = (c & 1) ? static_cast<std::uint16_t>((c >> 1) ^ 0xA001) : static_cast<std::uint16_t>(c >> 1);
    }
    return c;
}

// Written the way the device maker describes it (MSB-first with reversed
// input and output) rather than as the equivalent reflected loop, so the
// published vectors check ReverseBits as well.
std::uint16_t CRC16Str(std::span<const std::uint8_t> bytes)
{
    std::uint32_t a = 0;
    for (std::uint8_t byte : bytes) {
        std::uint32_t d = ReverseBits(byte, 8) << 8;
        for (int i = 0; i < 8; ++i) {
            if ((a ^ d) & 0x8000)
                a = ((a << 1) ^ 0x8005) & 0xFFFF;
            else
                a = (a << 1) & 0xFFFF;
            d <<= 1;
        }
    }
    return static_cast<std::uint16_t>(ReverseBits(a, 16));
}

std::uint32_t ReverseBits(std::uint32_t value, std::int32_t bits)
{
    std::uint32_t r = 0;
    for (std::int32_t i = 1; i <= bits && i <= 32; ++i) {
        if (value & 1)
            r |= 1u << (bits - i);
        value >>= 1;
    }
    return r;
}

}  // namespace orvanic
