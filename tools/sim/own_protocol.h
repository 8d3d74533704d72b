#pragma once

#include "protocol.h"

namespace orvanic::sim {

// The vendor's own framed protocol: 10 60 A A 10 01 CMD params 10 03 CRC,
// answered by 10 01 A A payload 10 03 CRC.
class OwnProtocol final : public Protocol {
public:
    const char* name() const override { return "own"; }
    FrameScan scan(std::span<const std::uint8_t> bytes) const override;
    std::optional<ArchivePeriod> archivePeriod(const Request& request, const Device& device) const override;
    Bytes answer(const Request& request, Device& device) const override;
    Bytes noData(const Request& request) const override;
};

}  // namespace orvanic::sim
