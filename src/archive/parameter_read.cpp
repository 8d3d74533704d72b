#include "archive/parameter_read.h"

#include <algorithm>

#include "acquire/record_decoder.h"
#include "link/modbus.h"

namespace orvanic {
namespace {

ParameterReadCheck checked(ParameterReadOutcome outcome, std::uint8_t exceptionCode = 0)
{
    ParameterReadCheck check;
    check.outcome = outcome;
    check.exceptionCode = exceptionCode;
    return check;
}

}  // namespace

std::uint8_t parameterRegisterCount(std::uint8_t countFields)
{
    return modbusRecordRegisters(countFields);
}

std::vector<std::uint8_t> parameterReadRequest(std::uint8_t address, std::uint8_t countFields)
{
    return modbus::readHoldingRegisters(address, kParameterStartRegister, parameterRegisterCount(countFields));
}

ExpectedAnswer parameterReadAnswer()
{
    return ExpectedAnswer::modbus(modbus::kReadHoldingRegisters);
}

ParameterReadCheck checkParameterReadAnswer(std::span<const std::uint8_t> answer, std::uint8_t address,
                                            std::uint8_t registerCount)
{
    using enum ParameterReadOutcome;
    const std::size_t n = answer.size();
    if (n < modbus::kMinAnswerLength || !modbus::checksumMatches(answer))
        return checked(BadChecksum);
    // Address 0 reaches whatever device is on an RS-232C line, and it may
    // answer with its own address.
    if (address != 0 && answer[0] != address)
        return checked(WrongAnswer);
    if (answer[1] == (modbus::kReadHoldingRegisters | modbus::kExceptionFlag))
        return n == modbus::kMinAnswerLength ? checked(Refused, answer[2]) : checked(WrongAnswer);
    const std::size_t byteCount = 2u * registerCount;
    if (answer[1] != modbus::kReadHoldingRegisters || answer[modbus::kByteCountOffset] != byteCount
        || n != modbus::kDataOffset + byteCount + 2)
        return checked(WrongAnswer);
    ParameterReadCheck good = checked(Good);
    good.registers = answer.subspan(modbus::kDataOffset, byteCount);
    return good;
}

ParameterPages decodeParameterPages(std::span<const std::uint8_t>)
{
    return {};
}

ParameterReadResult readParameters(Session& session)
{
    Link& link = session.link;
    const std::uint8_t countFields = session.DevStruct.CountFields;
    const std::vector<std::uint8_t> request = parameterReadRequest(session.devAddress, countFields);
    const auto exchange = link.lockExchange();
    // Written straight to the port rather than through SendFrame: this
    // service exchange stays out of the log, and FrameBuf keeps the request.
    std::copy(request.begin(), request.end(), link.FrameBuf.begin());
    // Anything still unread belongs to an exchange that was given up.
    link.port.discardInput();
    link.port.write(std::span(link.FrameBuf).first(request.size()));
    link.BytesWritten = static_cast<std::uint32_t>(request.size());
    const ReceiveResult received = link.ReceiveFrame(ReceiveLimits{}, session.devVelocityInt, parameterReadAnswer());

    ParameterReadResult result;
    if (received == ReceiveResult::Interrupted) {
        result.outcome = ParameterReadOutcome::Interrupted;
        return result;
    }
    if (received == ReceiveResult::NoAnswer)
        return result;
    const ParameterReadCheck check =
        checkParameterReadAnswer(link.answer(), session.devAddress, parameterRegisterCount(countFields));
    result.outcome = check.outcome;
    result.exceptionCode = check.exceptionCode;
    if (check.outcome == ParameterReadOutcome::Good)
        result.pages = decodeParameterPages(check.registers);
    return result;
}

std::optional<UserMessage> parameterReadMessage(const ParameterReadResult& result)
{
    auto attention = [](std::string text) { return UserMessage{std::move(text), std::string(caption::kAttention)}; };
    switch (result.outcome) {
    case ParameterReadOutcome::Good:
    case ParameterReadOutcome::Interrupted:
        return std::nullopt;
    case ParameterReadOutcome::NoAnswer:
        return UserMessage{std::string(text::kNoAnswer), std::string(caption::kError)};
    case ParameterReadOutcome::BadChecksum:
        return attention(std::string(text::kCrcError));
    case ParameterReadOutcome::Refused:
        return attention("Прибор отказал в чтении параметров (код ошибки "
                         + std::to_string(result.exceptionCode) + ").");
    case ParameterReadOutcome::WrongAnswer:
        return attention("Прибор передал неверный ответ на чтение параметров.");
    }
    return std::nullopt;
}

}  // namespace orvanic
