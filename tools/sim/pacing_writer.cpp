#include "pacing_writer.h"

#include "pty.h"
#include "stop_signal.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace orvanic::sim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t kBitsPerByte = 10;  // start, 8 data, stop
constexpr std::int64_t kNanosPerSecond = 1'000'000'000;
// A client that has not read for this long is gone; its backlog is dropped
// so that the simulator does not hang on a full terminal buffer.
constexpr auto kStallLimit = std::chrono::seconds(2);

}  // namespace

PacingWriter::PacingWriter(PseudoTerminal& terminal, std::optional<unsigned> paceBaud)
    : m_terminal(terminal)
    , m_paceBaud(paceBaud)
{
}

bool PacingWriter::write(std::span<const std::uint8_t> answer, const WritePlan& plan)
{
    if (!sleepUntil(plan.startAt))
        return false;
    const std::size_t pieces = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(plan.pieces, 1)), 1,
                                                       std::max<std::size_t>(answer.size(), 1));
    // Nearly equal pieces: the first ones take one byte more when it does not divide.
    const std::size_t base = answer.size() / pieces;
    const std::size_t longer = answer.size() % pieces;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < pieces; ++i) {
        if (i > 0 && !sleepUntil(Clock::now() + plan.gap))
            return false;
        const std::size_t length = base + (i < longer ? 1 : 0);
        if (!writePaced(answer.subspan(offset, length)))
            return false;
        offset += length;
    }
    return true;
}

bool PacingWriter::writePaced(std::span<const std::uint8_t> piece)
{
    if (!m_paceBaud)
        return writeNow(piece);
    // Byte i has fully crossed the line (i + 1) byte times after the start.
    const std::int64_t baud = *m_paceBaud;
    const Clock::time_point origin = Clock::now();
    const auto dueAt = [&](std::size_t bytes) {
        return origin + std::chrono::nanoseconds(static_cast<std::int64_t>(bytes) * kBitsPerByte * kNanosPerSecond / baud);
    };
    std::size_t sent = 0;
    while (sent < piece.size()) {
        const std::int64_t elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - origin).count();
        const auto due = std::min(piece.size(), static_cast<std::size_t>(elapsed * baud / (kBitsPerByte * kNanosPerSecond)));
        if (due > sent) {
            if (!writeNow(piece.subspan(sent, due - sent)))
                return false;
            sent = due;
        } else if (!sleepUntil(dueAt(sent + 1))) {
            return false;
        }
    }
    return true;
}

bool PacingWriter::writeNow(std::span<const std::uint8_t> bytes)
{
    const int fd = m_terminal.masterFd();
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            throw std::runtime_error(std::string("write to terminal: ") + std::strerror(errno));
        if (waitForFd(fd, POLLOUT, Clock::now() + kStallLimit) == 0) {
            if (stopRequested())
                return false;
            m_terminal.discardUnread();
            return true;
        }
    }
    return true;
}

}  // namespace orvanic::sim
