#include <cstdio>
#include <ctime>
#include <iostream>

#include "acquire/device_clock.h"
#include "app/messages.h"
#include "cli/commands.h"

namespace orvanic::cli {
namespace {

bool openOrReport(Session& session)
{
    if (OpenPort(session))
        return true;
    std::cerr << text::kPortUnavailable << '\n';
    return false;
}

int currentYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

}  // namespace

int runClock(Session& session, const CliOptions&)
{
    if (!openOrReport(session))
        return 1;
    const Protocol protocol = protocolOf(session.devProtocol);
    OpenLogFile(session);
    session.link.send(clockReadRequest(protocol, session.devAddress));
    const ReceiveResult received = session.link.ReceiveFrame(ReceiveLimits{}, session.devVelocityInt, clockReadAnswer(protocol));
    CloseLogFile(session);
    if (received != ReceiveResult::Received) {
        ClosePort(session);
        std::cerr << text::kNoAnswer << '\n';
        return 1;
    }
    if (!clockAnswerIntact(protocol, session.link.answer())) {
        ClosePort(session);
        std::cerr << text::kCrcError << '\n';
        return 1;
    }
    const DeviceClock clock = decodeClockAnswer(protocol, session.link.answer(), currentYear());
    ClosePort(session);
    if (!clock.date || !clock.time) {
        std::cerr << "Прибор передал неверные дату или время.\n";
        return 1;
    }
    std::printf("%02d.%02d.%04d %02d:%02d:%02d\n", clock.date->day, clock.date->month, clock.date->year, clock.time->hour,
                clock.time->minute, clock.time->second);
    return 0;
}

int runSetClock(Session& session, const CliOptions& options)
{
    CalendarDate date;
    TimeOfDay time;
    char end = 0;
    const std::string text = options.arguments.size() == 2 ? options.arguments[0] + " " + options.arguments[1] : "";
    if (std::sscanf(text.c_str(), "%2d.%2d.%4d %2d:%2d:%2d%c", &date.day, &date.month, &date.year, &time.hour, &time.minute,
                    &time.second, &end) != 6
        || date.year < 1000 || time.hour > 23 || time.minute > 59 || time.second > 59 || date.month < 1 || date.month > 12
        || date.day < 1 || date.day > 31) {
        std::cerr << "Укажите дату и время в виде ДД.ММ.ГГГГ ЧЧ:ММ:СС.\n";
        return 2;
    }
    if (!openOrReport(session))
        return 1;
    const Protocol protocol = protocolOf(session.devProtocol);
    OpenLogFile(session);
    session.link.send(setClockRequest(protocol, session.devAddress, date, time));
    CloseLogFile(session);
    // Whatever the device answers is taken off the line and not judged.
    session.link.ReceiveFrame(ReceiveLimits{0, 19200}, session.devVelocityInt, setClockAnswer(protocol));
    ClosePort(session);
    return 0;
}

}  // namespace orvanic::cli
