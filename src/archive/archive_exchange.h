#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "acquire/record_decoder.h"
#include "app/session.h"
#include "archive/archive_walk.h"
#include "link/answer_completion.h"
#include "link/identification.h"

namespace orvanic {

// Own protocol: command 0A with year, month, day and hour; each of those
// four equal to 0x10 is sent twice, the checksum is over the single bytes.
std::vector<std::uint8_t> ownArchiveRequest(std::uint8_t address, const ArchiveWalk& walk);
// Modbus: select the period (registers 10 to 12), then read the record
// (2 x CountFields + 2 registers from 256).
std::vector<std::uint8_t> modbusArchiveSelect(std::uint8_t address, const ArchiveWalk& walk);
std::vector<std::uint8_t> modbusArchiveRead(std::uint8_t address, std::uint8_t countFields);
ExpectedAnswer archiveAnswer(Protocol protocol, std::uint8_t countFields);

enum class ArchiveOutcome {
    Data,      // caption: the period text
    NoAnswer,  // period text + " - данные отсутствуют"
    NoData,    // " - данные отсутствуют": the device has no record
    TooShort,  // period text + " - Ошибка структуры данных"
    CrcError,  // "Ошибка CRC"; the period is asked again
};

// Checks and decodes a received record answer; sets texts[0] and, for a
// data answer, the value texts.
ArchiveOutcome decodeArchiveAnswer(Protocol protocol, std::span<const std::uint8_t> answer, const RecordContext& context,
                                   const std::string& period, RowTexts& texts);

// One period's exchange under the link lock, logged when logging is on:
// the request (for Modbus the select, its answer, then the read), the
// record's answer and its row texts. Interrupted when a stop woke the wait;
// portLost when the port has gone, so that no later period can be read.
struct ArchivePeriodResult {
    bool interrupted = false;
    bool portLost = false;
    ArchiveOutcome outcome = ArchiveOutcome::NoAnswer;
};
ArchivePeriodResult readArchivePeriod(Session& session, const ArchiveWalk& walk, const RecordContext& context, RowTexts& texts);

}  // namespace orvanic
