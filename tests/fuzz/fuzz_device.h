#pragma once

// What the answer decoders need besides the answer: a device, read from the
// first bytes of the fuzz input so that the fuzzer varies its shape too.
//
//   byte 0      flags: bit 0 Modbus (else the own protocol), bit 1 energy in
//               Гкал, bit 2 repair the checksum, bit 3 the last field is the
//               status entry, bit 4 decimal comma
//   byte 1      field count, 1 + byte modulo the most the program connects to
//   byte 2      status names, byte modulo 51
//   bytes 3-12  two bits a field from field 1 on: a plain value, an energy
//               value, "tраб" or "tреж"
//   the rest    the answer as it came off the line
//
// A repaired checksum is computed as the device would have, so the fuzzer
// gets past the check to the decoding behind it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "acquire/record_decoder.h"
#include "link/crc.h"
#include "link/identification.h"
#include "link/own_protocol.h"
#include "link/self_description.h"

namespace orvanic::fuzz {

inline constexpr std::size_t kDeviceHeaderSize = 13;

struct FuzzDevice {
    Protocol protocol = Protocol::Own;
    std::uint8_t devTypeEnergy = 0;
    bool repairChecksum = false;
    std::string decimalSeparator = ".";
    TOrvanicStruct description;
    SpecialFieldIndexes indexes;
    std::vector<std::uint8_t> answer;

    RecordContext context() const { return RecordContext{description, devTypeEnergy, decimalSeparator}; }
};

// The checksum of an own answer covers offset 2 to L-3; with `undoubled`
// it is the one over the bytes once their doubled 0x10 are undone, as an
// archive answer carries it.
inline void repairOwnChecksum(std::vector<std::uint8_t>& answer, bool undoubled)
{
    if (answer.size() < 4)
        return;
    const std::vector<std::uint8_t> single = undoubled ? own::undoubleDle(answer) : answer;
    const std::uint16_t crc = CRC16Str(std::span(single).subspan(2, single.size() - 4));
    answer[answer.size() - 2] = lowByte(crc);
    answer[answer.size() - 1] = highByte(crc);
}

inline void repairModbusChecksum(std::vector<std::uint8_t>& answer)
{
    if (answer.size() < 3)
        return;
    const std::uint16_t crc = CRC16Buf(std::span(answer).first(answer.size() - 2));
    answer[answer.size() - 2] = lowByte(crc);
    answer[answer.size() - 1] = highByte(crc);
}

// False when the input is too short to hold the device header.
inline bool readFuzzDevice(const std::uint8_t* data, std::size_t size, FuzzDevice& out, bool doubledAnswer = false)
{
    if (size < kDeviceHeaderSize)
        return false;
    const std::uint8_t flags = data[0];
    out.protocol = (flags & 0x01) ? Protocol::Modbus : Protocol::Own;
    out.devTypeEnergy = (flags & 0x02) ? 1 : 0;
    out.repairChecksum = (flags & 0x04) != 0;
    const bool statusEntry = (flags & 0x08) != 0;
    out.decimalSeparator = (flags & 0x10) ? "," : ".";

    // Connecting refuses more than 40 columns; Modbus adds two of its own.
    const std::size_t mostFields = out.protocol == Protocol::Modbus ? 38 : 40;
    const auto count = static_cast<std::uint8_t>(1 + data[1] % mostFields);
    TOrvanicStruct& d = out.description;
    d = TOrvanicStruct{};
    out.indexes = SpecialFieldIndexes{};
    d.DeviceName = "X-A40 1";
    d.DeviceNumber = "1234";
    d.NameFields[0] = ShortText::fromUtf8("Дата и время");
    static const char* const kKinds[4] = {"V1 [м3]", "W1 [ГДж]", "tраб", "tреж"};
    for (std::size_t j = 1; j < count; ++j) {
        const std::size_t bit = 2 * (j - 1);
        const unsigned kind = (data[3 + bit / 8] >> (bit % 8)) & 0x03;
        const bool last = j + 1 == count;
        d.NameFields[j] = ShortText::fromUtf8(last && statusEntry ? "Статус" : kKinds[kind]);
        const auto number = static_cast<std::int32_t>(j + 1);
        if (last && statusEntry)
            out.indexes.StatusIndex = number;
        else if (kind == 2)
            out.indexes.WorkTimeIndex = number;
        else if (kind == 3)
            out.indexes.ModeTimeIndex = number;
    }
    d.CountFields = count;

    static const char* const kStatusNames[] = {"Обрыв", "Перегрузка", "Нет питания", "Ошибка, датчик", ""};
    d.CountStatus = static_cast<std::uint8_t>(data[2] % (kMaxStatuses + 1));
    for (std::size_t i = 0; i < d.CountStatus; ++i) {
        d.StructStatus[i] = i < std::size(kStatusNames) ? ShortText::fromUtf8(kStatusNames[i])
                                                        : ShortText::fromUtf8("Состояние " + std::to_string(i));
    }

    // A new vector of exactly the answer's bytes, so that reading past it is caught.
    out.answer = std::vector<std::uint8_t>(data + kDeviceHeaderSize, data + size);
    if (out.repairChecksum) {
        if (out.protocol == Protocol::Modbus)
            repairModbusChecksum(out.answer);
        else
            repairOwnChecksum(out.answer, doubledAnswer);
    }
    return true;
}

}  // namespace orvanic::fuzz
