#pragma once

#include <cstdint>
#include <mutex>
#include <span>

#include "link/answer_completion.h"
#include "link/exchange_log.h"
#include "link/frame_buffer.h"
#include "link/serial_port.h"

namespace orvanic {

// How long an answer may take to start, and the pause between reads of an
// answer that has not yet come whole: 50 ms x trunc(pauseNumerator / speed).
struct ReceiveLimits {
    int waitSeconds = 3;         // no answer once more whole seconds than this have passed
    int pauseNumerator = 19200;
};

enum class ReceiveResult { Received, NoAnswer, Interrupted };

// One device link: the port, the frame buffers and the exchange log, and the
// lock that keeps exchanges from overlapping. Whoever exchanges holds
// lockExchange() from its request to the end of its answer.
class Link {
public:
    TBuf FrameBuf{};
    TBuf ChunkBuf{};
    std::uint32_t FrameLen = 0;
    std::uint32_t BytesWritten = 0;

    SerialPort port;
    ExchangeLog log;

    [[nodiscard]] std::unique_lock<std::mutex> lockExchange() { return std::unique_lock(m_exchange); }

    // Sends the n request bytes at FrameBuf[0..n); the caller has put CR LF
    // after them for the log copy. FrameBuf is cleared afterwards.
    void SendFrame(std::size_t n);
    // Puts `request` and CR LF into FrameBuf and sends it.
    void send(std::span<const std::uint8_t> request);

    // Collects an answer into FrameBuf[0..FrameLen). It ends as soon as the
    // bytes form a whole answer of the expected kind, or, for an answer that
    // never becomes whole, once the line has been silent for a 500-byte read
    // time-out after its last byte. A port that is lost ends the wait at once:
    // no answer when nothing came, else what came before.
    ReceiveResult ReceiveFrame(const ReceiveLimits& limits, int speed, const ExpectedAnswer& expected);

    std::span<const std::uint8_t> answer() const { return std::span(FrameBuf).first(FrameLen); }

private:
    std::mutex m_exchange;
};

// The pause between reads of an answer at `speed` bit/s.
int receivePauseMs(int pauseNumerator, int speed);

}  // namespace orvanic
