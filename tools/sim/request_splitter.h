#pragma once

#include "protocol.h"

#include <optional>
#include <span>

namespace orvanic::sim {

enum class ProtocolChoice { Own, Modbus, Auto };

// Cuts the received byte stream into requests: collects incomplete ones,
// throws away what cannot start a request and resynchronises on the next
// plausible frame start.
class RequestSplitter {
public:
    struct Frame {
        const Protocol* protocol = nullptr;
        Request request;
        Bytes bytes;
    };

    RequestSplitter(ProtocolChoice choice, const Protocol& own, const Protocol& modbus);

    void append(std::span<const std::uint8_t> bytes) { m_pending.insert(m_pending.end(), bytes.begin(), bytes.end()); }
    // The next request with a correct checksum, if one is complete.
    std::optional<Frame> next();

    bool hasPending() const { return !m_pending.empty(); }
    // Gives up on a partial request (the line went quiet).
    void dropPending();
    // The bytes thrown away since the last call, for the log.
    Bytes takeDropped();

private:
    struct Attempt {
        const Protocol* protocol;
        FrameScan scan;
    };
    Attempt scanAt(std::size_t offset) const;
    void drop(std::size_t count);

    ProtocolChoice m_choice;
    const Protocol& m_own;
    const Protocol& m_modbus;
    Bytes m_pending;
    Bytes m_dropped;
};

}  // namespace orvanic::sim
