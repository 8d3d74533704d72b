#include <chrono>
#include <clocale>
#include <ctime>
#include <iostream>
#include <thread>

#include "acquire/poll_exchange.h"
#include "app/connect_device.h"
#include "cli/commands.h"
#include "cli/row_output.h"

namespace orvanic::cli {

int runPoll(Session& session, const CliOptions& options, PollKind kind)
{
    int count = 1;
    if (!countOption(options.arguments, count))
        return 2;
    if (!connectOrReport(session))
        return 1;
    const Protocol protocol = protocolOf(session.devProtocol);
    const std::uint8_t countFields = session.DevStruct.CountFields;

    std::vector<std::string> captions = columnCaptions(session);
    if (protocol == Protocol::Modbus) {
        captions[captions.size() - 2] = "Текущий час запроса";
        captions[captions.size() - 1] = "Счетчик опросов датчика";
    }
    printCells(captions);

    RowTexts texts{};
    const RecordContext context{session.DevStruct, session.devTypeEnergy, decimalSeparator()};
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::seconds(session.TimeRequest));
        OpenLogFile(session);
        session.link.send(pollRequest(protocol, kind, session.devAddress, countFields));
        const ReceiveResult received =
            session.link.ReceiveFrame(ReceiveLimits{}, session.devVelocityInt, pollAnswer(protocol, countFields));
        CloseLogFile(session);
        if (received != ReceiveResult::Received) {
            std::cerr << (received == ReceiveResult::NoAnswer ? "Устройство не отвечает." : "Прервано.") << '\n';
            ClosePort(session);
            return 1;
        }
        decodePollAnswer(protocol, session.link.answer(), context, captionNow(), texts);
        printRow(texts, captions.size(), kPollCaptionLimit);
    }
    ClosePort(session);
    return 0;
}

}  // namespace orvanic::cli
