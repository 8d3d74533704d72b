#pragma once

#include "bytes.h"
#include "record_values.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orvanic::sim {

class Device;

// A request with its framing taken off.
struct Request {
    std::uint8_t address = 0;
    std::uint8_t code = 0;  // own command or Modbus function
    Bytes data;             // parameters, undoubled
};

// What the bytes at the start of a receive buffer look like to a protocol.
struct FrameScan {
    enum class Result {
        NotAFrame,  // cannot start a request: drop a byte and look again
        NeedMore,   // could still become a request
        Complete,
    };
    Result result = Result::NotAFrame;
    std::size_t length = 0;  // when complete
    bool checksumOk = false;
    Request request;  // when complete
};

// The two wire protocols the device speaks, seen the same way by the loop.
class Protocol {
public:
    virtual ~Protocol() = default;

    virtual const char* name() const = 0;
    virtual FrameScan scan(std::span<const std::uint8_t> bytes) const = 0;
    // The archive period a request reads, for faults aimed at a period.
    virtual std::optional<ArchivePeriod> archivePeriod(const Request& request, const Device& device) const = 0;
    // The full answer frame; empty means the device stays silent.
    virtual Bytes answer(const Request& request, Device& device) const = 0;
    // The answer of a device that has nothing to give.
    virtual Bytes noData(const Request& request) const = 0;
};

}  // namespace orvanic::sim
