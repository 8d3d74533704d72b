#include "simulator.h"

#include "device.h"
#include "faults.h"
#include "pty.h"
#include "stop_signal.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace orvanic::sim {

namespace {

using Clock = std::chrono::steady_clock;

// A partial request followed by this much silence is given up.
constexpr auto kPartialTimeout = std::chrono::seconds(1);
// A vanishing device waits this long for the client to take the part of
// the answer it got, so that it really goes away mid-answer.
constexpr auto kVanishDrainLimit = std::chrono::seconds(2);
constexpr auto kVanishLinger = std::chrono::milliseconds(50);

}  // namespace

Simulator::Simulator(PseudoTerminal& terminal, Device& device, FaultPlan& faults, const SimulatorSettings& settings)
    : m_terminal(terminal)
    , m_device(device)
    , m_faults(faults)
    , m_verbose(settings.verbose)
    , m_splitter(settings.protocol, m_own, m_modbus)
    , m_writer(terminal, settings.paceBaud)
{
    if (settings.recordPath) {
        m_record.reset(std::fopen(settings.recordPath->c_str(), "a"));
        if (!m_record)
            throw std::runtime_error("cannot open " + *settings.recordPath);
    }
}

void Simulator::run()
{
    while (!stopRequested() && !m_vanished) {
        const Deadline giveUpAt = m_splitter.hasPending() ? Deadline(m_lastByteAt + kPartialTimeout) : std::nullopt;
        const short events = waitForFd(m_terminal.masterFd(), POLLIN, giveUpAt);
        if (stopRequested())
            break;
        if ((events & POLLIN) != 0) {
            receive();
        } else if (events != 0) {
            // Hang-up or error without data: do not spin on it.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } else if (m_splitter.hasPending() && Clock::now() >= m_lastByteAt + kPartialTimeout) {
            m_splitter.dropPending();
            logDropped();
        }
    }
}

void Simulator::receive()
{
    std::array<std::uint8_t, 4096> buffer{};
    while (true) {
        const ssize_t got = read(m_terminal.masterFd(), buffer.data(), buffer.size());
        if (got <= 0)
            break;
        m_splitter.append(std::span(buffer).first(static_cast<std::size_t>(got)));
        m_lastByteAt = Clock::now();
    }
    while (!stopRequested() && !m_vanished) {
        const std::optional<RequestSplitter::Frame> frame = m_splitter.next();
        logDropped();
        if (!frame)
            break;
        handle(*frame);
    }
}

void Simulator::handle(const RequestSplitter::Frame& frame)
{
    const Request& request = frame.request;
    if (!m_device.answersTo(request.address)) {
        log("request for another address, ignored:", frame.bytes);
        return;
    }
    ++m_requests;
    const FaultKinds faults = m_faults.faultsFor(m_requests, frame.protocol->archivePeriod(request, m_device));
    if (m_verbose)
        std::fprintf(stderr, "orvanic-sim: request %llu (%s)\n", static_cast<unsigned long long>(m_requests),
                     frame.protocol->name());
    log("<-", frame.bytes);
    record(frame.bytes);
    if (faults.silent) {
        log("silent fault, no answer", {});
        if (faults.vanish)
            vanish();
        return;
    }
    // A device set to the wrong address answers as that address.
    Request asked = request;
    if (faults.answerAddress)
        asked.address = *faults.answerAddress;
    // A no-data answer leaves the device untouched, so counters do not move.
    Bytes answer = faults.noData ? frame.protocol->noData(asked) : frame.protocol->answer(asked, m_device);
    if (answer.empty()) {
        log("no answer", {});
        return;
    }
    answer = spoilAnswer(std::move(answer), faults);
    log("->", answer);
    if (m_writer.write(answer, {m_lastByteAt + faults.delay, faults.pieces, faults.pieceGap}) && faults.vanish)
        vanish();
}

void Simulator::vanish()
{
    const auto giveUpAt = Clock::now() + kVanishDrainLimit;
    while (m_terminal.unreadCount() > 0 && Clock::now() < giveUpAt) {
        if (!sleepUntil(Clock::now() + std::chrono::milliseconds(5)))
            return;
    }
    sleepUntil(Clock::now() + kVanishLinger);
    log("vanish fault, the device goes away", {});
    m_vanished = true;
}

void Simulator::record(std::span<const std::uint8_t> bytes)
{
    if (!m_record)
        return;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(m_record.get(), i == 0 ? "%02X" : " %02X", bytes[i]);
    std::fputc('\n', m_record.get());
    std::fflush(m_record.get());
}

void Simulator::logDropped()
{
    const Bytes dropped = m_splitter.takeDropped();
    if (!dropped.empty())
        log("dropped:", dropped);
}

void Simulator::log(const char* what, std::span<const std::uint8_t> bytes) const
{
    if (!m_verbose)
        return;
    std::fprintf(stderr, "orvanic-sim: %s", what);
    for (std::uint8_t byte : bytes)
        std::fprintf(stderr, " %02X", byte);
    std::fputc('\n', stderr);
}

}  // namespace orvanic::sim
