// orvanic-cli: reads a metering computer from scripts and scheduled jobs,
// over the same core as the window.

#include <clocale>
#include <csignal>
#include <cstdint>
#include <iostream>
#include <unistd.h>

#include "app/session.h"
#include "cli/cli_options.h"
#include "cli/commands.h"

namespace {

int g_interruptHandle = -1;

// Wakes whatever wait the link is in, so Ctrl-C never sits out a time-out.
void onSignal(int)
{
    const std::uint64_t one = 1;
    if (g_interruptHandle >= 0)
        [[maybe_unused]] const ssize_t r = ::write(g_interruptHandle, &one, sizeof one);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace orvanic;
    // Number texts follow LC_ALL / LC_NUMERIC; nothing else is localised.
    std::setlocale(LC_NUMERIC, "");
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << cli::usageText();
        return 0;
    }
    std::string error;
    const auto options = cli::parseCliOptions(args, readSettingsFile(), error);
    if (!options) {
        std::cerr << error << '\n' << cli::usageText();
        return 2;
    }

    Session session;
    applySettings(session, options->settings);
    session.devAddress = options->address;

    g_interruptHandle = session.link.port.interruptHandle();
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    if (options->command == "identify")
        return cli::runIdentify(session, *options);
    if (options->command == "current")
        return cli::runPoll(session, *options, PollKind::Current);
    if (options->command == "screen")
        return cli::runPoll(session, *options, PollKind::Screen);
    if (options->command == "clock")
        return cli::runClock(session, *options);
    if (options->command == "set-clock")
        return cli::runSetClock(session, *options);
    if (options->command == "archive")
        return cli::runArchive(session, *options);
    if (options->command == "convert")
        return cli::runConvert(session, *options);
    std::cerr << "Неизвестная команда: " << options->command << '\n' << cli::usageText();
    return 2;
}
