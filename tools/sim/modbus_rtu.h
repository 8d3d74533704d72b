#pragma once

#include "protocol.h"

namespace orvanic::sim {

// Modbus RTU: report slave id, reading the clock and the records through
// holding registers, and writing the clock or the archive period.
class ModbusRtu final : public Protocol {
public:
    const char* name() const override { return "modbus"; }
    FrameScan scan(std::span<const std::uint8_t> bytes) const override;
    std::optional<ArchivePeriod> archivePeriod(const Request& request, const Device& device) const override;
    Bytes answer(const Request& request, Device& device) const override;
    Bytes noData(const Request& request) const override;
};

}  // namespace orvanic::sim
