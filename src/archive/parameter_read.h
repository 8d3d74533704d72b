#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "app/session.h"
#include "link/answer_completion.h"

namespace orvanic {

// The parameter read is a Modbus Read Holding Registers from register 0,
// whatever protocol the settings choose:
//   A 03 00 00 00 N CRC-lo CRC-hi, N = 2 x CountFields + 2 kept to 8 bits.
inline constexpr std::uint16_t kParameterStartRegister = 0;

std::uint8_t parameterRegisterCount(std::uint8_t countFields);
std::vector<std::uint8_t> parameterReadRequest(std::uint8_t address, std::uint8_t countFields);
ExpectedAnswer parameterReadAnswer();

enum class ParameterReadOutcome {
    Good,         // the registers asked for
    NoAnswer,     // nothing came within the limit
    Interrupted,  // the window woke the wait (it is closing)
    BadChecksum,  // garbled, or too short to hold address, function and CRC
    Refused,      // the device's exception answer
    WrongAnswer,  // another address or function, or not the registers asked for
};

struct ParameterReadCheck {
    ParameterReadOutcome outcome = ParameterReadOutcome::NoAnswer;
    std::uint8_t exceptionCode = 0;            // Refused only
    std::span<const std::uint8_t> registers;   // Good only: 2 bytes a register, into the answer
};

// Checks an answer to parameterReadRequest(address, ...) asking for
// `registerCount` registers.
ParameterReadCheck checkParameterReadAnswer(std::span<const std::uint8_t> answer, std::uint8_t address,
                                            std::uint8_t registerCount);

// The editor's pages, in order.
inline constexpr std::size_t kParameterPageCount = 4;
inline constexpr std::array<std::string_view, kParameterPageCount> kParameterPageCaptions = {
    "Основные", "Расширенные", "Коэффициенты", "Параметры среды"};
// The value texts a read gives each page, one per parameter, in page order.
using ParameterPages = std::array<std::vector<std::string>, kParameterPageCount>;

// Which registers hold which page's parameters, and in what format, is not
// known yet: there is no catalogue of the device's parameters. Until there
// is one every page comes out empty, so the grids show only their headers.
ParameterPages decodeParameterPages(std::span<const std::uint8_t> registers);

// One read under the link lock. The request goes straight to the port and
// nothing of the exchange is logged.
struct ParameterReadResult {
    ParameterReadOutcome outcome = ParameterReadOutcome::NoAnswer;
    std::uint8_t exceptionCode = 0;
    ParameterPages pages;  // Good only
};
ParameterReadResult readParameters(Session& session);

// What the operator is told about a read that did not succeed; nothing for
// a good or an interrupted one.
std::optional<UserMessage> parameterReadMessage(const ParameterReadResult& result);

}  // namespace orvanic
