#include "request_splitter.h"

namespace orvanic::sim {

namespace {

// In auto mode a request starting 10 60 is the own protocol, anything else Modbus.
constexpr std::uint8_t kOwnFirst = 0x10;
constexpr std::uint8_t kOwnSecond = 0x60;

}  // namespace

RequestSplitter::RequestSplitter(ProtocolChoice choice, const Protocol& own, const Protocol& modbus)
    : m_choice(choice)
    , m_own(own)
    , m_modbus(modbus)
{
}

RequestSplitter::Attempt RequestSplitter::scanAt(std::size_t offset) const
{
    const std::span<const std::uint8_t> bytes = std::span(m_pending).subspan(offset);
    const Protocol* protocol = &m_modbus;
    if (m_choice == ProtocolChoice::Own) {
        protocol = &m_own;
    } else if (m_choice == ProtocolChoice::Auto && bytes[0] == kOwnFirst) {
        if (bytes.size() < 2)
            return {nullptr, {FrameScan::Result::NeedMore, 0, false, {}}};
        if (bytes[1] == kOwnSecond)
            protocol = &m_own;
    }
    return {protocol, protocol->scan(bytes)};
}

std::optional<RequestSplitter::Frame> RequestSplitter::next()
{
    while (!m_pending.empty()) {
        Attempt attempt = scanAt(0);
        switch (attempt.scan.result) {
        case FrameScan::Result::Complete:
            if (attempt.scan.checksumOk) {
                Frame frame{attempt.protocol, std::move(attempt.scan.request),
                            Bytes(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(attempt.scan.length))};
                m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(attempt.scan.length));
                return frame;
            }
            // A bad checksum may also mean the real request starts later on.
            drop(1);
            break;
        case FrameScan::Result::NotAFrame:
            drop(1);
            break;
        case FrameScan::Result::NeedMore: {
            // Garbage that merely looks like the start of a long request must
            // not hold up a complete request behind it.
            std::size_t skip = 0;
            for (std::size_t offset = 1; offset < m_pending.size() && skip == 0; ++offset) {
                const Attempt later = scanAt(offset);
                if (later.scan.result == FrameScan::Result::Complete && later.scan.checksumOk)
                    skip = offset;
            }
            if (skip == 0)
                return std::nullopt;
            drop(skip);
            break;
        }
        }
    }
    return std::nullopt;
}

void RequestSplitter::drop(std::size_t count)
{
    const auto end = m_pending.begin() + static_cast<std::ptrdiff_t>(count);
    m_dropped.insert(m_dropped.end(), m_pending.begin(), end);
    m_pending.erase(m_pending.begin(), end);
}

void RequestSplitter::dropPending() { drop(m_pending.size()); }

Bytes RequestSplitter::takeDropped()
{
    Bytes dropped;
    dropped.swap(m_dropped);
    return dropped;
}

}  // namespace orvanic::sim
