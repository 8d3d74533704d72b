#pragma once

#include <cstdint>
#include <vector>

namespace orvanic::sim {

using Bytes = std::vector<std::uint8_t>;

inline std::uint8_t lowByte(std::uint32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
inline std::uint8_t highByte(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }

}  // namespace orvanic::sim
