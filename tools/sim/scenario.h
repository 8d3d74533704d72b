#pragma once

#include "bytes.h"
#include "device_clock.h"
#include "faults.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvanic::sim {

struct Scenario {
    std::optional<std::uint8_t> address;
    std::optional<Bytes> description;  // already in device bytes
    std::optional<ClockFields> clock;
    std::vector<FaultRule> faults;
};

class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a scenario file; throws ScenarioError naming the file and line.
Scenario loadScenario(const std::string& path);

}  // namespace orvanic::sim
