#pragma once

#include "request_splitter.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace orvanic::sim {

struct Options {
    ProtocolChoice protocol = ProtocolChoice::Auto;
    unsigned speed = 9600;
    bool pace = false;
    std::optional<std::string> scenario;
    std::optional<std::string> link;
    std::optional<std::string> record;
    bool verbose = false;
    bool help = false;
};

class OptionsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws OptionsError on anything it does not understand.
Options parseOptions(int argc, char** argv);

const char* usageText();

}  // namespace orvanic::sim
