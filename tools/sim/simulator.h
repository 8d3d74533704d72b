#pragma once

#include "modbus_rtu.h"
#include "own_protocol.h"
#include "pacing_writer.h"
#include "request_splitter.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace orvanic::sim {

class Device;
class FaultPlan;
class PseudoTerminal;

struct SimulatorSettings {
    ProtocolChoice protocol = ProtocolChoice::Auto;
    std::optional<unsigned> paceBaud;  // none: answers go out at once
    bool verbose = false;
    std::optional<std::string> recordPath;  // every request taken, as a hex line
};

// The receive-answer loop: reads requests from the terminal, lets the device
// answer them, spoils answers as the faults say and writes them back.
class Simulator {
public:
    Simulator(PseudoTerminal& terminal, Device& device, FaultPlan& faults, const SimulatorSettings& settings);

    // Returns when a stop was requested, or when a fault made the device
    // vanish.
    void run();

private:
    void receive();
    void handle(const RequestSplitter::Frame& frame);
    void vanish();
    void logDropped();
    void log(const char* what, std::span<const std::uint8_t> bytes) const;
    void record(std::span<const std::uint8_t> bytes);

    PseudoTerminal& m_terminal;
    Device& m_device;
    FaultPlan& m_faults;
    bool m_verbose;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_record{nullptr, std::fclose};
    OwnProtocol m_own;
    ModbusRtu m_modbus;
    RequestSplitter m_splitter;
    PacingWriter m_writer;
    std::uint64_t m_requests = 0;
    bool m_vanished = false;
    std::chrono::steady_clock::time_point m_lastByteAt;
};

}  // namespace orvanic::sim
