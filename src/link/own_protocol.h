#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvanic {

// Frame envelope of the device's own protocol.
//
//   request: 10 60 A A 10 01 CMD [params] 10 03 C_lo C_hi
//            C = CRC16Str over CMD, params, 10 03
//   answer:  10 01 x x PAYLOAD 10 03 C_lo C_hi
//            C = CRC16Str over offset 2 .. L-3
//   no-data answer: exactly 9 bytes, 10 01 at offset 0, 10 03 at offset 5
namespace own {

inline constexpr std::uint8_t kDle = 0x10;
inline constexpr std::uint8_t kSoh = 0x01;
inline constexpr std::uint8_t kEtx = 0x03;

inline constexpr std::uint8_t kIdentify = 0xE0;

// An answer shorter than this cannot hold the envelope and its checksum.
inline constexpr std::size_t kMinAnswerLength = 9;
inline constexpr std::size_t kNoDataAnswerLength = 9;
// Offset of the first payload byte in an answer.
inline constexpr std::size_t kPayloadOffset = 4;

std::vector<std::uint8_t> request(std::uint8_t address, std::uint8_t command,
                                  std::span<const std::uint8_t> params = {});

// The checksum over offset 2 .. L-3 matches the last two bytes. False for
// anything too short to carry a checksum over that range.
bool checksumMatches(std::span<const std::uint8_t> answer);

// Ends with 10 03 and a matching checksum.
bool hasValidTail(std::span<const std::uint8_t> answer);

bool isNoDataAnswer(std::span<const std::uint8_t> answer);

// Archive answers double every 0x10 between their 10 01 head and their
// 10 03 tail; this gives back exactly the bytes the sender doubled, runs of
// three or more included. Head, tail and checksum are kept as they are.
std::vector<std::uint8_t> undoubleDle(std::span<const std::uint8_t> answer);

}  // namespace own
}  // namespace orvanic
