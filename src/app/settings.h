#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvanic {

// The six values kept in the settings file between runs.
struct Settings {
    std::string devPort = "COM1";
    std::string devVelocity = "9600";
    std::uint8_t devBits = 8;
    std::uint8_t devProtocol = 0;
    std::uint8_t devTypeEnergy = 0;
    bool devLogFile = false;

    bool operator==(const Settings&) const = default;
};

inline constexpr std::string_view kSettingsFileName = "QN.cfg";

// The file's text: "[Application]" and six "Key=value;" lines, in any
// order. Anything unusable (no section line, a missing key, a number that
// is no number) takes that value's default.
Settings parseSettings(std::string_view content);
// The seven lines, each ending in CR LF.
std::string formatSettings(const Settings& settings);

// A missing or unreadable file gives the defaults.
Settings readSettingsFile(const std::filesystem::path& path = kSettingsFileName);
// Replaces the file atomically; false when it cannot be written.
bool writeSettingsFile(const Settings& settings, const std::filesystem::path& path = kSettingsFileName);

}  // namespace orvanic
