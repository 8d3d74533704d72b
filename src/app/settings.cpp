#include "app/settings.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "files/atomic_file.h"

namespace orvanic {
namespace {

std::string_view withoutCr(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool parseByte(std::string_view text, std::uint8_t& out)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 255)
        return false;
    out = static_cast<std::uint8_t>(value);
    return true;
}

void applyLine(std::string_view line, Settings& s)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return;
    const std::string_view key = line.substr(0, eq);
    std::string_view value = line.substr(eq + 1);
    value = value.substr(0, value.find(';'));
    if (key == "Communication")
        s.devPort = std::string(value);
    else if (key == "Bitrate")
        s.devVelocity = std::string(value);
    else if (key == "Bits")
        parseByte(value, s.devBits);
    else if (key == "Protocol")
        parseByte(value, s.devProtocol);
    else if (key == "Energy")
        parseByte(value, s.devTypeEnergy);
    else if (key == "Log")
        s.devLogFile = value == "1";
}

}  // namespace

Settings parseSettings(std::string_view content)
{
    Settings s;
    std::size_t start = 0;
    for (int lineNo = 0; lineNo < 7 && start <= content.size(); ++lineNo) {
        const std::size_t end = content.find('\n', start);
        const std::string_view line = withoutCr(content.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (lineNo == 0) {
            if (line != "[Application]")
                return Settings{};
        } else {
            applyLine(line, s);
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return s;
}

std::string formatSettings(const Settings& s)
{
    std::string out;
    out += "[Application]\r\n";
    out += "Communication=" + s.devPort + ";\r\n";
    out += "Bitrate=" + s.devVelocity + ";\r\n";
    out += "Bits=" + std::to_string(s.devBits) + ";\r\n";
    out += "Protocol=" + std::to_string(s.devProtocol) + ";\r\n";
    out += "Energy=" + std::to_string(s.devTypeEnergy) + ";\r\n";
    out += std::string("Log=") + (s.devLogFile ? "1" : "0") + ";\r\n";
    return out;
}

Settings readSettingsFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Settings{};
    std::ostringstream content;
    content << in.rdbuf();
    return parseSettings(content.str());
}

bool writeSettingsFile(const Settings& settings, const std::filesystem::path& path)
{
    return writeFileAtomically(path, formatSettings(settings));
}

}  // namespace orvanic
