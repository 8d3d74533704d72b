#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"

namespace orvanic::cli {

struct CliOptions {
    Settings settings;           // QN.cfg of the current directory, then the options
    std::uint8_t address = 0;
    std::string command;
    std::vector<std::string> arguments;  // what follows the command
};

// Parses the global options and the command. On a usage error returns
// nothing and sets `error` to a one-line message.
std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& args, const Settings& fromFile,
                                          std::string& error);

std::string usageText();

}  // namespace orvanic::cli
