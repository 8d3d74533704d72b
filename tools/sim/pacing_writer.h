#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace orvanic::sim {

class PseudoTerminal;

// When and how an answer goes out.
struct WritePlan {
    std::chrono::steady_clock::time_point startAt;
    int pieces = 1;  // written with `gap` of silence between them
    std::chrono::milliseconds gap{0};
};

// Writes answers to the terminal, optionally no faster than a serial line
// at the given baud rate would carry them (10 bits per byte).
class PacingWriter {
public:
    PacingWriter(PseudoTerminal& terminal, std::optional<unsigned> paceBaud);

    // Returns false when a stop was requested meanwhile.
    bool write(std::span<const std::uint8_t> answer, const WritePlan& plan);

private:
    bool writePaced(std::span<const std::uint8_t> piece);
    bool writeNow(std::span<const std::uint8_t> bytes);

    PseudoTerminal& m_terminal;
    std::optional<unsigned> m_paceBaud;
};

}  // namespace orvanic::sim
