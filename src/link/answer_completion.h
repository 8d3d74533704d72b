#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvanic {

// What a request expects back, so the receive loop can end an answer as
// soon as it is whole instead of waiting for the line to fall silent.
struct ExpectedAnswer {
    enum class Kind {
        Unknown,     // never complete: the answer ends on silence
        OwnFrame,    // own protocol, at least minLength bytes, or the no-data answer
        OwnDoubledFrame,  // the same once its doubled 0x10 bytes are undone (archive answers)
        ModbusFrame  // Modbus answer to `function`, or its exception answer
    };
    Kind kind = Kind::Unknown;
    std::size_t minLength = 0;
    std::uint8_t function = 0;

    static ExpectedAnswer own(std::size_t minLength) { return {Kind::OwnFrame, minLength, 0}; }
    static ExpectedAnswer ownDoubled(std::size_t minLength) { return {Kind::OwnDoubledFrame, minLength, 0}; }
    static ExpectedAnswer modbus(std::uint8_t function) { return {Kind::ModbusFrame, 0, function}; }
};

// True when `bytes` form a whole answer of the expected kind with a matching
// checksum.
bool isAnswerComplete(const ExpectedAnswer& expected, std::span<const std::uint8_t> bytes);

}  // namespace orvanic
