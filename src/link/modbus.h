#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvanic {

// Modbus RTU framing: address, function, data, CRC16Buf low byte first.
namespace modbus {

inline constexpr std::uint8_t kReadHoldingRegisters = 0x03;
inline constexpr std::uint8_t kWriteMultipleRegisters = 0x10;
inline constexpr std::uint8_t kReportSlaveId = 0x11;
inline constexpr std::uint8_t kExceptionFlag = 0x80;

// An answer shorter than this cannot hold address, function, one byte and the CRC.
inline constexpr std::size_t kMinAnswerLength = 5;
// Offset of the byte count in answers that carry one, and of their data.
inline constexpr std::size_t kByteCountOffset = 2;
inline constexpr std::size_t kDataOffset = 3;

// Appends the CRC to address, function and data.
std::vector<std::uint8_t> frame(std::vector<std::uint8_t> body);

std::vector<std::uint8_t> readHoldingRegisters(std::uint8_t address, std::uint16_t start, std::uint16_t count);

// CRC16Buf over all but the last two bytes matches them.
bool checksumMatches(std::span<const std::uint8_t> answer);

// The whole length of the answer to `function` that these first bytes
// start, or 0 while too few bytes have come to tell; an exception answer
// is 5 bytes. Unknown functions give 0 as well.
std::size_t expectedAnswerLength(std::span<const std::uint8_t> head, std::uint8_t function);

}  // namespace modbus
}  // namespace orvanic
