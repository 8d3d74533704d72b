#include "link/answer_completion.h"

#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {

bool isAnswerComplete(const ExpectedAnswer& expected, std::span<const std::uint8_t> bytes)
{
    switch (expected.kind) {
    case ExpectedAnswer::Kind::OwnFrame:
        if (!own::hasValidTail(bytes))
            return false;
        return bytes.size() >= expected.minLength || own::isNoDataAnswer(bytes);
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
