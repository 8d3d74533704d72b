#include "crc.h"

namespace orvanic::sim {

namespace {

constexpr std::uint16_t kReflectedPoly = 0xA001;

std::uint16_t reflectedCrc(std::uint16_t crc, std::span<const std::uint8_t> bytes)
{
    for (std::uint8_t byte : bytes) {
        crc = static_cast<std::uint16_t>(crc ^ byte);
        for (int bit = 0; bit < 8; ++bit) {
            const bool carry = (crc & 1U) != 0;
            crc = static_cast<std::uint16_t>(crc >> 1);
            if (carry)
                crc = static_cast<std::uint16_t>(crc ^ kReflectedPoly);
        }
    }
    return crc;
}

}  // namespace

std::uint16_t modbusCrc(std::span<const std::uint8_t> bytes) { return reflectedCrc(0xFFFF, bytes); }

std::uint16_t ownCrc(std::span<const std::uint8_t> bytes) { return reflectedCrc(0x0000, bytes); }

void appendCrc(Bytes& out, std::uint16_t crc)
{
    out.push_back(lowByte(crc));
    out.push_back(highByte(crc));
}

std::uint16_t storedCrc(std::uint8_t low, std::uint8_t high)
{
    return static_cast<std::uint16_t>(low | (high << 8));
}

}  // namespace orvanic::sim
