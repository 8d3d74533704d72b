#include "options.h"

#include <charconv>
#include <string_view>

namespace orvanic::sim {

namespace {

constexpr unsigned kMaxSpeed = 4'000'000;

ProtocolChoice parseProtocol(std::string_view text)
{
    if (text == "own")
        return ProtocolChoice::Own;
    if (text == "modbus")
        return ProtocolChoice::Modbus;
    if (text == "auto")
        return ProtocolChoice::Auto;
    throw OptionsError("--protocol must be own, modbus or auto, not '" + std::string(text) + "'");
}

unsigned parseSpeed(std::string_view text)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value == 0 || value > kMaxSpeed)
        throw OptionsError("--speed must be a baud rate, not '" + std::string(text) + "'");
    return value;
}

}  // namespace

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        // Both "--name value" and "--name=value".
        std::optional<std::string_view> inlineValue;
        if (const std::size_t equals = arg.find('='); arg.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const auto value = [&]() -> std::string_view {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= argc)
                throw OptionsError(std::string(arg) + " needs a value");
            return argv[++i];
        };
        const auto noValue = [&] {
            if (inlineValue)
                throw OptionsError(std::string(arg) + " takes no value");
        };

        if (arg == "--protocol") {
            options.protocol = parseProtocol(value());
        } else if (arg == "--speed") {
            options.speed = parseSpeed(value());
        } else if (arg == "--pace") {
            noValue();
            options.pace = true;
        } else if (arg == "--scenario") {
            options.scenario = std::string(value());
        } else if (arg == "--link") {
            options.link = std::string(value());
            if (options.link->empty())
                throw OptionsError("--link needs a path");
        } else if (arg == "--record") {
            options.record = std::string(value());
        } else if (arg == "--verbose") {
            noValue();
            options.verbose = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            throw OptionsError("unknown option '" + std::string(argv[i]) + "'");
        }
    }
    return options;
}

const char* usageText()
{
    return "usage: orvanic-sim [--protocol own|modbus|auto] [--speed N] [--pace] [--scenario FILE]\n"
           "                   [--link PATH] [--record FILE] [--verbose]\n"
           "  --record FILE  append every request answered to FILE, one line of hex bytes each\n";
}

}  // namespace orvanic::sim
