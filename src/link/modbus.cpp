#include "link/modbus.h"

#include "link/crc.h"

namespace orvanic::modbus {

std::vector<std::uint8_t> frame(std::vector<std::uint8_t> body)
{
    const std::uint16_t crc = CRC16Buf(body);
    body.push_back(lowByte(crc));
    body.push_back(highByte(crc));
    return body;
}

std::vector<std::uint8_t> readHoldingRegisters(std::uint8_t address, std::uint16_t start, std::uint16_t count)
{
    return frame({address, kReadHoldingRegisters, highByte(start), lowByte(start), highByte(count), lowByte(count)});
}

bool checksumMatches(std::span<const std::uint8_t> answer)
{
    const std::size_t n = answer.size();
    if (n < 3)
        return false;
    const std::uint16_t crc = CRC16Buf(answer.first(n - 2));
    return answer[n - 2] == lowByte(crc) && answer[n - 1] == highByte(crc);
}

std::size_t expectedAnswerLength(std::span<const std::uint8_t> head, std::uint8_t function)
{
    if (head.size() < 2)
        return 0;
    if (head[1] == (function | kExceptionFlag))
        return 5;
    if (head[1] != function)
        return 0;
    switch (function) {
    case kReadHoldingRegisters:
    case kReportSlaveId:
        return head.size() > kByteCountOffset ? kDataOffset + head[kByteCountOffset] + 2 : 0;
    case kWriteMultipleRegisters:
        return 8;
    default:
        return 0;
    }
}

}  // namespace orvanic::modbus
