#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "link/self_description.h"

namespace orvanic {

// The texts of one table row: [0] the caption, [c] the text of column c.
using RowTexts = std::array<std::string, kMaxFields>;

// What decoding a record needs besides its bytes.
struct RecordContext {
    const TOrvanicStruct& description;
    std::uint8_t devTypeEnergy = 0;      // 1: energy fields in Гкал
    std::string decimalSeparator = ".";
};

// The fields whose values are durations in units of 10 s.
bool isTimeCounterField(const ShortText& name);

// Values of an own-protocol record answer, from offset 4, each 4 bytes
// least significant first; the caller has checked there are CountFields - 1.
// Fills texts[1] to texts[CountFields - 1].
void decodeOwnRecord(std::span<const std::uint8_t> answer, const RecordContext& context, RowTexts& texts);

// Values of a Modbus record answer, from offset 3, each as two registers
// with the low half first; the caller has checked there are CountFields + 1.
// Fills texts[1] to texts[CountFields + 1]: the fields, the status, and the
// two values of the extra columns, each only when the answer holds it (with
// fewer than two fields the second one is never asked for).
void decodeModbusRecord(std::span<const std::uint8_t> answer, const RecordContext& context, RowTexts& texts);

// Modbus answers carry 2 x CountFields + 2 registers.
inline std::uint8_t modbusRecordRegisters(std::uint8_t countFields)
{
    return static_cast<std::uint8_t>(2 * countFields + 2);
}

}  // namespace orvanic
