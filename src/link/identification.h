#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/answer_completion.h"

namespace orvanic {

enum class Protocol { Own, Modbus };

// devProtocol 1 is Modbus RTU; every other value the device's own protocol.
inline Protocol protocolOf(std::uint8_t devProtocol)
{
    return devProtocol == 1 ? Protocol::Modbus : Protocol::Own;
}

// Own protocol: 10 60 A A 10 01 E0 10 03 4C 37. Modbus: A 11 CRC (Report Slave ID).
std::vector<std::uint8_t> identificationRequest(Protocol protocol, std::uint8_t address);
ExpectedAnswer identificationAnswer(Protocol protocol);

enum class AnswerCheck { Good, TooShort, BadChecksum };
// Envelope length and checksum of an identification answer.
AnswerCheck checkIdentificationAnswer(Protocol protocol, std::span<const std::uint8_t> answer);

// The description text, one byte per character: own protocol offset 4 to
// L-5; Modbus the registers from offset 3, first character in the low byte.
std::string descriptionBytes(Protocol protocol, std::span<const std::uint8_t> answer);

}  // namespace orvanic
