#include "link/answer_completion.h"

#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {

namespace {

bool ownFrameComplete(std::span<const std::uint8_t> bytes, std::size_t minLength)
{
    if (!own::hasValidTail(bytes))
        return false;
    return bytes.size() >= minLength || own::isNoDataAnswer(bytes);
}

}  // namespace

bool isAnswerComplete(const ExpectedAnswer& expected, std::span<const std::uint8_t> bytes)
{
    switch (expected.kind) {
    case ExpectedAnswer::Kind::OwnFrame:
        return ownFrameComplete(bytes, expected.minLength);
    case ExpectedAnswer::Kind::OwnDoubledFrame:
        return ownFrameComplete(own::undoubleDle(bytes), expected.minLength);
    case ExpectedAnswer::Kind::ModbusFrame: {
        const std::size_t length = modbus::expectedAnswerLength(bytes, expected.function);
        return length != 0 && bytes.size() == length && modbus::checksumMatches(bytes);
    }
    case ExpectedAnswer::Kind::Unknown:
        break;
    }
    return false;
}

}  // namespace orvanic
