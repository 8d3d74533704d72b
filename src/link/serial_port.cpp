#include "link/serial_port.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace orvanic {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool speedConstant(int speed, speed_t& out)
{
    switch (speed) {
    case 1200: out = B1200; return true;
    case 2400: out = B2400; return true;
    case 4800: out = B4800; return true;
    case 9600: out = B9600; return true;
    case 19200: out = B19200; return true;
    case 38400: out = B38400; return true;
    case 57600: out = B57600; return true;
    case 115200: out = B115200; return true;
    default: return false;
    }
}

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return 0;
    return static_cast<int>(left) + 1;  // round up so a wait never ends early
}

}  // namespace

SerialPort::SerialPort()
    : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

SerialPort::~SerialPort()
{
    close();
    if (m_wake >= 0)
        ::close(m_wake);
}

bool SerialPort::open(const std::string& path, int speed, int dataBits)
{
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    termios tio{};
    if (!::isatty(fd) || ::ioctl(fd, TIOCEXCL) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0
        || ::tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(PARENB | CSTOPB | CRTSCTS);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (dataBits == 7 || dataBits == 8) {
        tio.c_cflag &= ~CSIZE;
        tio.c_cflag |= dataBits == 7 ? CS7 : CS8;
    }
    speed_t constant{};
    if (speedConstant(speed, constant)) {
        ::cfsetispeed(&tio, constant);
        ::cfsetospeed(&tio, constant);
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    ::tcflush(fd, TCIFLUSH);
    m_fd = fd;
    m_lost = false;
    return true;
}

void SerialPort::close()
{
    if (m_fd < 0)
        return;
    // Exclusive mode outlives our descriptor while anyone else holds the
    // terminal open, so it is lifted explicitly.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_lost = false;
}

void SerialPort::discardInput()
{
    if (m_fd >= 0)
        ::tcflush(m_fd, TCIFLUSH);
}

std::size_t SerialPort::write(std::span<const std::uint8_t> bytes)
{
    if (m_fd < 0)
        return 0;
    const auto deadline = Clock::now() + milliseconds(10 * bytes.size() + 10);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t r = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (r > 0) {
            done += static_cast<std::size_t>(r);
            continue;
        }
        if (r < 0 && errno != EAGAIN && errno != EINTR)
            break;
        pollfd pfd{m_fd, POLLOUT, 0};
        const int timeout = millisecondsUntil(deadline);
        if (timeout == 0 || ::poll(&pfd, 1, timeout) <= 0)
            break;
    }
    return done;
}

SerialPort::Wait SerialPort::waitReadable(Clock::time_point deadline)
{
    for (;;) {
        pollfd fds[2] = {{m_wake, POLLIN, 0}, {m_fd, POLLIN, 0}};
        const nfds_t count = m_fd >= 0 ? 2 : 1;
        const int r = ::poll(fds, count, millisecondsUntil(deadline));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return Wait::Broken;
        if (fds[0].revents & POLLIN)
            return Wait::Interrupted;
        if (r == 0)
            return Wait::Timeout;
        if (count == 2 && (fds[1].revents & POLLIN))
            return Wait::Ready;
        return Wait::Broken;
    }
}

SerialPort::ReadResult SerialPort::read(std::span<std::uint8_t> into)
{
    ReadResult result;
    if (into.empty())
        return result;
    const auto totalDeadline = Clock::now() + milliseconds(10 * into.size() + 10);
    auto lastByte = Clock::now();
    while (result.count < into.size()) {
        const auto deadline = result.count == 0 ? totalDeadline : lastByte + milliseconds(10);
        Wait w = waitReadable(deadline);
        if (w == Wait::Ready) {
            const ssize_t r = ::read(m_fd, into.data() + result.count, into.size() - result.count);
            if (r > 0) {
                result.count += static_cast<std::size_t>(r);
                lastByte = Clock::now();
                continue;
            }
            if (r < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            w = Wait::Broken;
        }
        if (w == Wait::Interrupted) {
            result.interrupted = true;
            return result;
        }
        // Waiting out the time-out on a line that is gone would only make
        // every exchange after it slow; the callers ask lost() instead.
        if (w == Wait::Broken)
            m_lost = true;
        break;
    }
    return result;
}

bool SerialPort::pause(milliseconds duration)
{
    const auto deadline = Clock::now() + duration;
    for (;;) {
        pollfd pfd{m_wake, POLLIN, 0};
        const int r = ::poll(&pfd, 1, millisecondsUntil(deadline));
        if (r < 0 && errno == EINTR)
            continue;
        return !(r > 0 && (pfd.revents & POLLIN));
    }
}

void SerialPort::interrupt()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t r = ::write(m_wake, &one, sizeof one);
}

void SerialPort::resume()
{
    std::uint64_t value = 0;
    [[maybe_unused]] const ssize_t r = ::read(m_wake, &value, sizeof value);
}

bool SerialPort::interrupted() const
{
    pollfd pfd{m_wake, POLLIN, 0};
    return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLIN);
}

}  // namespace orvanic
