#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "acquire/record_decoder.h"
#include "acquire/table_row.h"
#include "link/answer_completion.h"
#include "link/identification.h"

namespace orvanic {

// The two polls differ only in their command and register.
enum class PollKind { Current, Screen };

// Own protocol: 10 60 A A 10 01 0B|0C 10 03 CRC. Modbus: read 2 x CountFields
// + 2 holding registers from 100 (current) or 20 (screen).
std::vector<std::uint8_t> pollRequest(Protocol protocol, PollKind kind, std::uint8_t address, std::uint8_t countFields);
ExpectedAnswer pollAnswer(Protocol protocol, std::uint8_t countFields);

// How an answer turned out, and so which row it gives.
enum class RowKind {
    Data,            // caption and values
    CrcError,        // "Ошибка CRC": garbled, or too short to hold its envelope
    NoData,          // " - данные отсутствуют"
    StructureError,  // " - Ошибка структуры данных": fewer values than fields
    Unchanged,       // a 9-byte own answer without the no-data marks: the last row again
};

// Checks and decodes a poll answer into `texts`, which keep what earlier
// answers left where this one gives nothing. `caption` is the data row's
// caption (the time of the poll).
RowKind decodePollAnswer(Protocol protocol, std::span<const std::uint8_t> answer, const RecordContext& context,
                         const std::string& caption, RowTexts& texts);

}  // namespace orvanic
