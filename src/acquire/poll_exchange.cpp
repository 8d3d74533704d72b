#include "acquire/poll_exchange.h"

#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {
namespace {

constexpr std::uint8_t kCurrentCommand = 0x0B;
constexpr std::uint8_t kScreenCommand = 0x0C;
constexpr std::uint16_t kCurrentRegister = 100;
constexpr std::uint16_t kScreenRegister = 20;

// Own answers need CountFields x 4 bytes after their 4-byte head
// (CountFields - 1 values and the closing 10 03 with the checksum).
std::size_t ownLength(std::uint8_t countFields)
{
    return 4u * countFields + 4u;
}

RowKind decodeOwn(std::span<const std::uint8_t> a, const RecordContext& context, const std::string& caption, RowTexts& texts)
{
    const std::size_t n = a.size();
    if (n < 8 || !own::checksumMatches(a)) {
        texts[0] = kCrcErrorCaption;
        return RowKind::CrcError;
    }
    if (n == own::kNoDataAnswerLength) {
        if (!own::isNoDataAnswer(a))
            return RowKind::Unchanged;
        texts[0] = kNoDataCaption;
        return RowKind::NoData;
    }
    if ((n - 4) / 4 < context.description.CountFields) {
        texts[0] = kStructureErrorCaption;
        return RowKind::StructureError;
    }
    texts[0] = caption;
    decodeOwnRecord(a, context, texts);
    return RowKind::Data;
}

RowKind decodeModbus(std::span<const std::uint8_t> a, const RecordContext& context, const std::string& caption, RowTexts& texts)
{
    const std::size_t n = a.size();
    if (n < modbus::kMinAnswerLength || !modbus::checksumMatches(a)) {
        texts[0] = kCrcErrorCaption;
        return RowKind::CrcError;
    }
    // All CountFields + 1 values, and no count that runs past the frame.
    const std::size_t needed = 4u * (context.description.CountFields + 1u);
    if (a[modbus::kByteCountOffset] < needed || n - 5 < needed) {
        texts[0] = kStructureErrorCaption;
        return RowKind::StructureError;
    }
    texts[0] = caption;
    decodeModbusRecord(a, context, texts);
    return RowKind::Data;
}

}  // namespace

std::vector<std::uint8_t> pollRequest(Protocol protocol, PollKind kind, std::uint8_t address, std::uint8_t countFields)
{
    if (protocol == Protocol::Modbus)
        return modbus::readHoldingRegisters(address, kind == PollKind::Current ? kCurrentRegister : kScreenRegister,
                                            modbusRecordRegisters(countFields));
    return own::request(address, kind == PollKind::Current ? kCurrentCommand : kScreenCommand);
}

ExpectedAnswer pollAnswer(Protocol protocol, std::uint8_t countFields)
{
    if (protocol == Protocol::Modbus)
        return ExpectedAnswer::modbus(modbus::kReadHoldingRegisters);
    return ExpectedAnswer::own(ownLength(countFields));
}

RowKind decodePollAnswer(Protocol protocol, std::span<const std::uint8_t> answer, const RecordContext& context,
                         const std::string& caption, RowTexts& texts)
{
    return protocol == Protocol::Modbus ? decodeModbus(answer, context, caption, texts)
                                        : decodeOwn(answer, context, caption, texts);
}

}  // namespace orvanic
