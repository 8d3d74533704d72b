#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orvanic {

// A serial port in raw mode: no parity, one stop bit, no flow control.
// Opening is exclusive (TIOCEXCL and a non-blocking flock), so a port another
// program holds fails to open. Every wait can be cut short from another
// thread (or a signal handler) with interrupt(), so stop, disconnect and exit
// never wait out a time-out.
class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Speeds other than the standard ones and data bits other than 7 or 8
    // leave the port's own setting in place.
    bool open(const std::string& path, int speed, int dataBits);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    int handle() const { return m_fd; }

    // Drops whatever has come in and not been read.
    void discardInput();

    // Writes within 10 ms a byte plus 10 ms; returns the bytes handed over.
    std::size_t write(std::span<const std::uint8_t> bytes);

    struct ReadResult {
        std::size_t count = 0;
        bool interrupted = false;
    };
    // Reads up to into.size() bytes: returns as soon as they have all come;
    // once one byte has come, when no further byte comes within 10 ms; with
    // nothing at all, after 10 ms per byte asked plus 10 ms. A line that is
    // gone (see lost()) returns what came before at once.
    ReadResult read(std::span<std::uint8_t> into);

    // The other end has gone: a hang-up or a read error, as when an adapter
    // is pulled out or a pseudo-terminal's owner ends. Nothing will come any
    // more until the port is opened again.
    bool lost() const { return m_lost; }

    // Sleeps, cut short by interrupt(). Returns false when interrupted.
    bool pause(std::chrono::milliseconds duration);

    // Makes every current and later wait return at once, until resume().
    void interrupt();
    void resume();
    bool interrupted() const;
    // The descriptor interrupt() writes to; writing 8 bytes to it from a
    // signal handler has the same effect.
    int interruptHandle() const { return m_wake; }

private:
    enum class Wait { Ready, Timeout, Interrupted, Broken };
    Wait waitReadable(std::chrono::steady_clock::time_point deadline);

    int m_fd = -1;
    int m_wake = -1;
    std::atomic<bool> m_lost = false;
};

}  // namespace orvanic
