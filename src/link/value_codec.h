#pragma once

#include <cstdint>

namespace orvanic {

// The device's infinities and not-a-numbers reach the user as this number.
inline constexpr float kDeviceOverflowValue = 4294967296.0f;

// Four value bytes, B0 being the sign and high exponent byte, to a single.
// Differs from IEEE-754 where the device does: zero is never negative, an
// all-ones exponent gives 2^32, and a zero exponent keeps the implicit one.
float DecodeFloat(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);

}  // namespace orvanic
