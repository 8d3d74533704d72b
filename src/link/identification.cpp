#include "link/identification.h"

#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {

std::vector<std::uint8_t> identificationRequest(Protocol protocol, std::uint8_t address)
{
    if (protocol == Protocol::Modbus)
        return modbus::frame({address, modbus::kReportSlaveId});
    return own::request(address, own::kIdentify);
}

ExpectedAnswer identificationAnswer(Protocol protocol)
{
    if (protocol == Protocol::Modbus)
        return ExpectedAnswer::modbus(modbus::kReportSlaveId);
    return ExpectedAnswer::own(own::kMinAnswerLength);
}

AnswerCheck checkIdentificationAnswer(Protocol protocol, std::span<const std::uint8_t> answer)
{
    if (protocol == Protocol::Modbus) {
        if (answer.size() < modbus::kMinAnswerLength)
            return AnswerCheck::TooShort;
        return modbus::checksumMatches(answer) ? AnswerCheck::Good : AnswerCheck::BadChecksum;
    }
    if (answer.size() < own::kMinAnswerLength)
        return AnswerCheck::TooShort;
    return own::checksumMatches(answer) ? AnswerCheck::Good : AnswerCheck::BadChecksum;
}

std::string descriptionBytes(Protocol protocol, std::span<const std::uint8_t> answer)
{
    std::string text;
    const std::size_t n = answer.size();
    if (protocol == Protocol::Modbus) {
        for (std::size_t k = modbus::kDataOffset; k + 2 < n; k += 2) {
            text.push_back(static_cast<char>(answer[k + 1]));
            text.push_back(static_cast<char>(answer[k]));
        }
        return text;
    }
    if (n < own::kMinAnswerLength)
        return text;
    for (std::size_t i = own::kPayloadOffset; i + 4 < n; ++i)
        text.push_back(static_cast<char>(answer[i]));
    return text;
}

}  // namespace orvanic
