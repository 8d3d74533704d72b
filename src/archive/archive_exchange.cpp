#include "archive/archive_exchange.h"

#include <chrono>

#include "acquire/table_row.h"
#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {
namespace {

constexpr std::uint8_t kArchiveCommand = 0x0A;
constexpr std::uint16_t kSelectRegister = 10;
constexpr std::uint16_t kRecordRegister = 256;
// The record may take a while to find: 6 s for its first byte, and the own
// protocol's longer pause between reads of an answer not yet whole.
constexpr ReceiveLimits kOwnLimits{5, 56000};
constexpr ReceiveLimits kModbusLimits{5, 19200};

std::string withPeriod(const std::string& period, std::string_view suffix)
{
    return period + std::string(suffix);
}

ArchiveOutcome fail(RowTexts& texts, std::string caption, ArchiveOutcome outcome)
{
    texts[0] = std::move(caption);
    return outcome;
}

}  // namespace

std::vector<std::uint8_t> ownArchiveRequest(std::uint8_t address, const ArchiveWalk& walk)
{
    const std::uint8_t params[] = {walk.arcYear, walk.arcMonth, walk.arcDay, walk.arcHour};
    std::vector<std::uint8_t> single = own::request(address, kArchiveCommand, params);
    std::vector<std::uint8_t> frame(single.begin(), single.begin() + 7);
    for (std::uint8_t p : params) {
        frame.push_back(p);
        if (p == own::kDle)
            frame.push_back(own::kDle);
    }
    frame.insert(frame.end(), single.begin() + 11, single.end());
    return frame;
}

std::vector<std::uint8_t> modbusArchiveSelect(std::uint8_t address, const ArchiveWalk& walk)
{
    return modbus::frame({address, modbus::kWriteMultipleRegisters, 0x00, kSelectRegister, 0x00, 0x03, 0x06, walk.arcYear,
                          kArchiveCommand, walk.arcDay, walk.arcMonth, 0xFF, walk.arcHour});
}

std::vector<std::uint8_t> modbusArchiveRead(std::uint8_t address, std::uint8_t countFields)
{
    return modbus::readHoldingRegisters(address, kRecordRegister, modbusRecordRegisters(countFields));
}

ExpectedAnswer archiveAnswer(Protocol protocol, std::uint8_t countFields)
{
    if (protocol == Protocol::Modbus)
        return ExpectedAnswer::modbus(modbus::kReadHoldingRegisters);
    return ExpectedAnswer::ownDoubled(4u * countFields + 4u);
}

ArchiveOutcome decodeArchiveAnswer(Protocol protocol, std::span<const std::uint8_t> answer, const RecordContext& context,
                                   const std::string& period, RowTexts& texts)
{
    const std::uint8_t countFields = context.description.CountFields;
    if (protocol == Protocol::Modbus) {
        const std::size_t n = answer.size();
        if (n < modbus::kMinAnswerLength || !modbus::checksumMatches(answer))
            return fail(texts, std::string(kCrcErrorCaption), ArchiveOutcome::CrcError);
        // All CountFields + 1 values, none of them past the frame.
        const std::size_t needed = 4u * (countFields + 1u);
        if (answer[modbus::kByteCountOffset] < needed || n - 5 < needed)
            return fail(texts, withPeriod(period, kStructureErrorCaption), ArchiveOutcome::TooShort);
        texts[0] = period;
        decodeModbusRecord(answer, context, texts);
        return ArchiveOutcome::Data;
    }
    const std::vector<std::uint8_t> a = own::undoubleDle(answer);
    if (a.size() < 8 || !own::checksumMatches(a))
        return fail(texts, std::string(kCrcErrorCaption), ArchiveOutcome::CrcError);
    if (own::isNoDataAnswer(a))
        return fail(texts, std::string(kNoDataCaption), ArchiveOutcome::NoData);
    if ((a.size() - 4) / 4 < countFields)
        return fail(texts, withPeriod(period, kStructureErrorCaption), ArchiveOutcome::TooShort);
    texts[0] = period;
    decodeOwnRecord(a, context, texts);
    return ArchiveOutcome::Data;
}

ArchivePeriodResult readArchivePeriod(Session& session, const ArchiveWalk& walk, const RecordContext& context, RowTexts& texts)
{
    const Protocol protocol = protocolOf(session.devProtocol);
    const std::uint8_t countFields = context.description.CountFields;
    Link& link = session.link;
    const auto exchange = link.lockExchange();
    OpenLogFile(session);
    ReceiveResult received = ReceiveResult::NoAnswer;
    if (protocol == Protocol::Modbus) {
        // The select's answer is collected like any answer, so it can neither
        // be taken for the record nor collide with the read on a half-duplex
        // line; without one the read follows anyway.
        link.send(modbusArchiveSelect(session.devAddress, walk));
        received = link.ReceiveFrame(ReceiveLimits{}, session.devVelocityInt,
                                     ExpectedAnswer::modbus(modbus::kWriteMultipleRegisters));
        if (received == ReceiveResult::NoAnswer)
            received = link.port.pause(std::chrono::milliseconds(receivePauseMs(19200, session.devVelocityInt)))
                ? ReceiveResult::NoAnswer
                : ReceiveResult::Interrupted;
        if (received != ReceiveResult::Interrupted) {
            link.send(modbusArchiveRead(session.devAddress, countFields));
            received = link.ReceiveFrame(kModbusLimits, session.devVelocityInt, archiveAnswer(protocol, countFields));
        }
    } else {
        link.send(ownArchiveRequest(session.devAddress, walk));
        received = link.ReceiveFrame(kOwnLimits, session.devVelocityInt, archiveAnswer(protocol, countFields));
    }
    ArchivePeriodResult result;
    result.portLost = link.port.lost();
    const std::string period = periodText(walk);
    if (received == ReceiveResult::Interrupted)
        result.interrupted = true;
    else if (received == ReceiveResult::NoAnswer)
        result.outcome = fail(texts, withPeriod(period, kNoDataCaption), ArchiveOutcome::NoAnswer);
    else
        result.outcome = decodeArchiveAnswer(protocol, link.answer(), context, period, texts);
    CloseLogFile(session);
    return result;
}

}  // namespace orvanic
