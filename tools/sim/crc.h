#pragma once

#include "bytes.h"

#include <cstdint>
#include <span>

namespace orvanic::sim {

// Modbus RTU checksum: init 0xFFFF, reflected polynomial 0xA001, no final xor.
std::uint16_t modbusCrc(std::span<const std::uint8_t> bytes);

// Checksum of the device's own protocol (CRC-16/ARC): same polynomial, init 0.
std::uint16_t ownCrc(std::span<const std::uint8_t> bytes);

// Both protocols store the checksum low byte first.
void appendCrc(Bytes& out, std::uint16_t crc);
std::uint16_t storedCrc(std::uint8_t low, std::uint8_t high);

}  // namespace orvanic::sim
