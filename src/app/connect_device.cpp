#include "app/connect_device.h"

#include "link/cp1251.h"
#include "link/identification.h"

namespace orvanic {
namespace {

constexpr std::size_t kModbusExtraColumns = 2;

UserMessage message(std::string_view text, std::string_view caption)
{
    return UserMessage{std::string(text), std::string(caption)};
}

ConnectOutcome fail(Session& session, std::optional<UserMessage> why)
{
    ClosePort(session);
    CloseLogFile(session);
    return ConnectOutcome{false, std::move(why)};
}

std::size_t columnCount(const Session& session, std::size_t fieldCount)
{
    return fieldCount + (protocolOf(session.devProtocol) == Protocol::Modbus ? kModbusExtraColumns : 0);
}

// Nothing of a description the program cannot hold whole is kept: showing
// a device with fields or states silently missing would mislead.
std::optional<UserMessage> checkLimits(const Session& session, const SelfDescription& d)
{
    if (d.fieldNames.size() > kMaxFields || columnCount(session, d.fieldNames.size()) > kMaxColumns)
        return message("Прибор описывает больше полей, чем может показать программа (не более "
                           + std::to_string(kMaxColumns) + " столбцов). Подключение отменено.",
                       caption::kAttention);
    if (d.statusNames.size() > kMaxStatuses)
        return message("Прибор описывает больше " + std::to_string(kMaxStatuses)
                           + " состояний, чем может показать программа. Подключение отменено.",
                       caption::kAttention);
    return std::nullopt;
}

void takeDescription(Session& session, const SelfDescription& d)
{
    TOrvanicStruct& s = session.DevStruct;
    s.DeviceNumber = u32ToUtf8(d.number);
    s.DeviceName = u32ToUtf8(d.name);
    s.CountFields = static_cast<std::uint8_t>(d.fieldNames.size());
    for (std::size_t i = 0; i < d.fieldNames.size(); ++i)
        s.NameFields[i] = ShortText::fromUnicode(d.fieldNames[i]);
    // A device without a status list has no states to name; names left
    // from another device would be wrong.
    s.CountStatus = static_cast<std::uint8_t>(d.statusNames.size());
    for (std::size_t i = 0; i < d.statusNames.size(); ++i)
        s.StructStatus[i] = ShortText::fromUnicode(d.statusNames[i]);
    session.indexes = d.indexes;
    session.devType = modelFromName(s.DeviceName);
}

}  // namespace

ConnectOutcome identifyDevice(Session& session)
{
    session.indexes = SpecialFieldIndexes{};
    if (!OpenPort(session))
        return ConnectOutcome{false, message(text::kPortUnavailable, caption::kError)};
    CreateLogFile(session);

    const Protocol protocol = protocolOf(session.devProtocol);
    ReceiveResult received = ReceiveResult::NoAnswer;
    {
        const auto exchange = session.link.lockExchange();
        session.link.send(identificationRequest(protocol, session.devAddress));
        received = session.link.ReceiveFrame(ReceiveLimits{}, session.devVelocityInt, identificationAnswer(protocol));
    }
    if (received == ReceiveResult::Interrupted)
        return fail(session, std::nullopt);
    if (received == ReceiveResult::NoAnswer)
        return fail(session, message(text::kNoAnswer, caption::kError));

    const auto answer = session.link.answer();
    if (checkIdentificationAnswer(protocol, answer) != AnswerCheck::Good)
        return fail(session, message(text::kCrcError, caption::kAttention));

    const SelfDescription description = parseSelfDescription(descriptionBytes(protocol, answer), session.devTypeEnergy);
    if (auto tooLarge = takeSelfDescription(session, description))
        return fail(session, std::move(tooLarge));
    CloseLogFile(session);
    return ConnectOutcome{true, std::nullopt};
}

std::optional<UserMessage> takeSelfDescription(Session& session, const SelfDescription& description)
{
    if (auto tooLarge = checkLimits(session, description))
        return tooLarge;
    takeDescription(session, description);
    session.FieldsList = FillFieldList(columnCaptions(session));
    return std::nullopt;
}

std::vector<std::string> columnCaptions(const Session& session)
{
    const TOrvanicStruct& s = session.DevStruct;
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < s.CountFields; ++i)
        captions.push_back(s.NameFields[i].utf8());
    captions.resize(columnCount(session, captions.size()));
    return captions;
}

std::string connectedHeaderText(const TOrvanicStruct& description)
{
    return "Подключено устройство " + description.DeviceName + " №" + description.DeviceNumber;
}

}  // namespace orvanic
