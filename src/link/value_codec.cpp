#include "link/value_codec.h"

#include <cmath>

namespace orvanic {

float DecodeFloat(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    const bool negative = (b0 & 0x80) != 0;
    const int e = ((b0 & 0x7F) << 1) | (b1 >> 7);
    const std::uint32_t m = (static_cast<std::uint32_t>(b1 & 0x7F) << 16) | (static_cast<std::uint32_t>(b2) << 8) | b3;
    if (e == 0 && m == 0)
        return 0.0f;
    if (e == 255)
        return kDeviceOverflowValue;
    const double magnitude = std::ldexp(1.0 + m / 8388608.0, e - 127);
    return static_cast<float>(negative ? -magnitude : magnitude);
}

}  // namespace orvanic
