#include "link/link.h"

#include <algorithm>
#include <chrono>

namespace orvanic {

int receivePauseMs(int pauseNumerator, int speed)
{
    return speed > 0 ? 50 * (pauseNumerator / speed) : 0;
}

void Link::SendFrame(std::size_t n)
{
    n = std::min(n, kFrameBufSize - 2);
    // Only one side talks at a time, so anything still unread is the late
    // answer of an exchange that was given up (a stop, the set-clock frame)
    // and must not be taken for the start of this one's.
    port.discardInput();
    if (log.isOpen())
        log.writeSent(std::span(FrameBuf).first(n + 2));
    port.write(std::span(FrameBuf).first(n));
    BytesWritten = static_cast<std::uint32_t>(n);
    FrameBuf.fill(0);
}

void Link::send(std::span<const std::uint8_t> request)
{
    const std::size_t n = std::min(request.size(), kFrameBufSize - 2);
    std::copy_n(request.begin(), n, FrameBuf.begin());
    FrameBuf[n] = 0x0D;
    FrameBuf[n + 1] = 0x0A;
    SendFrame(n);
}

ReceiveResult Link::ReceiveFrame(const ReceiveLimits& limits, int speed, const ExpectedAnswer& expected)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    FrameLen = 0;

    // The first byte: the answer is missing once the whole seconds elapsed
    // exceed the limit, so a limit of 3 means 4 seconds.
    const auto firstByteDeadline = start + std::chrono::seconds(limits.waitSeconds + 1);
    for (;;) {
        const auto r = port.read(std::span(FrameBuf).first(1));
        if (r.interrupted)
            return ReceiveResult::Interrupted;
        if (r.count == 1)
            break;
        if (port.lost() || Clock::now() >= firstByteDeadline)
            return ReceiveResult::NoAnswer;
    }

    std::size_t p = 1;
    const auto pause = std::chrono::milliseconds(receivePauseMs(limits.pauseNumerator, speed));
    for (;;) {
        const auto r = port.read(ChunkBuf);
        if (r.interrupted)
            return ReceiveResult::Interrupted;
        FrameLen = static_cast<std::uint32_t>(r.count);
        if (r.count == 0)
            break;
        // Bytes past the buffer are read off the line and dropped.
        const std::size_t keep = std::min(r.count, kFrameBufSize - p);
        std::copy_n(ChunkBuf.begin(), keep, FrameBuf.begin() + static_cast<std::ptrdiff_t>(p));
        p += keep;
        if (isAnswerComplete(expected, std::span(FrameBuf).first(p)))
            break;
        if (!port.pause(pause))
            return ReceiveResult::Interrupted;
    }
    FrameLen = static_cast<std::uint32_t>(p);
    if (log.isOpen())
        log.writeReceived(answer());
    return ReceiveResult::Received;
}

}  // namespace orvanic
