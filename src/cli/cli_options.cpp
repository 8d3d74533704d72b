#include "cli/cli_options.h"

#include <charconv>

namespace orvanic::cli {
namespace {

bool parseNumber(const std::string& text, int low, int high, int& out)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out >= low && out <= high;
}

}  // namespace

std::string usageText()
{
    return "Использование: orvanic-cli [--port PATH] [--speed N] [--bits 7|8] [--protocol own|modbus]\n"
           "                           [--address N] [--energy gj|gcal] [--log] КОМАНДА ...\n"
           "  identify                         самоописание прибора\n"
           "  current [--count N]              N строк текущих данных (по умолчанию 1)\n"
           "  screen  [--count N]              N строк экранных данных\n"
           "  clock                            часы прибора: ДД.ММ.ГГГГ ЧЧ:ММ:СС\n"
           "  set-clock ДД.ММ.ГГГГ ЧЧ:ММ:СС    установить часы прибора\n"
           "  archive hourly|daily|monthly --from ДД.ММ.ГГГГ --to ДД.ММ.ГГГГ [--hours Ч1-Ч2]\n"
           "          [-o ФАЙЛ.dat] [--csv ФАЙЛ.csv]  архив прибора, по строке на период\n"
           "  convert ФАЙЛ.dat --csv ФАЙЛ.csv  файл данных в CSV\n";
}

std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& args, const Settings& fromFile,
                                          std::string& error)
{
    CliOptions o;
    o.settings = fromFile;
    std::size_t i = 0;
    auto value = [&](const std::string& option) -> const std::string* {
        if (i + 1 >= args.size()) {
            error = "Не указано значение параметра " + option + ".";
            return nullptr;
        }
        return &args[++i];
    };
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0)
            break;
        int number = 0;
        if (a == "--log") {
            o.settings.devLogFile = true;
            continue;
        }
        const std::string* v = value(a);
        if (!v)
            return std::nullopt;
        if (a == "--port") {
            o.settings.devPort = *v;
        } else if (a == "--speed" && parseNumber(*v, 1, 4000000, number)) {
            o.settings.devVelocity = *v;
        } else if (a == "--bits" && (*v == "7" || *v == "8")) {
            o.settings.devBits = static_cast<std::uint8_t>(*v == "7" ? 7 : 8);
        } else if (a == "--protocol" && (*v == "own" || *v == "modbus")) {
            o.settings.devProtocol = *v == "modbus" ? 1 : 0;
        } else if (a == "--address" && parseNumber(*v, 0, 255, number)) {
            o.address = static_cast<std::uint8_t>(number);
        } else if (a == "--energy" && (*v == "gj" || *v == "gcal")) {
            o.settings.devTypeEnergy = *v == "gcal" ? 1 : 0;
        } else {
            error = "Неверный параметр: " + a + " " + *v + ".";
            return std::nullopt;
        }
    }
    if (i >= args.size()) {
        error = "Не указана команда.";
        return std::nullopt;
    }
    o.command = args[i];
    o.arguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    return o;
}

}  // namespace orvanic::cli
