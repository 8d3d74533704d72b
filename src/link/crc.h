#pragma once

#include <cstdint>
#include <span>

namespace orvanic {

// Modbus RTU checksum: CRC-16, reflected polynomial 0xA001 (0x8005), initial
// value 0xFFFF, no final XOR. "123456789" gives 0x4B37. Stored low byte first.
std::uint16_t CRC16Buf(std::span<const std::uint8_t> bytes);

// Checksum of the device's own protocol: CRC-16/ARC, polynomial 0x8005,
// initial value 0, input and output reflected, no final XOR. "123456789"
// gives 0xBB3D. Stored low byte first.
std::uint16_t CRC16Str(std::span<const std::uint8_t> bytes);

// The low `bits` bits of `value` in reverse order; higher bits are ignored.
// Zero or negative `bits` gives 0.
std::uint32_t ReverseBits(std::uint32_t value, std::int32_t bits);

inline std::uint8_t lowByte(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
inline std::uint8_t highByte(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }

}  // namespace orvanic
