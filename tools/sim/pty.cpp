#include "pty.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace orvanic::sim {

namespace {

std::runtime_error systemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PseudoTerminal::PseudoTerminal()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        throw systemError("posix_openpt");
    const char* name = nullptr;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 || (name = ptsname(m_master)) == nullptr) {
        const auto error = systemError("cannot prepare the pseudo-terminal");
        close(m_master);
        throw error;
    }
    m_slavePath = name;

    m_slave = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (m_slave < 0 || tcgetattr(m_slave, &raw) != 0) {
        const auto error = systemError("cannot open " + m_slavePath);
        if (m_slave >= 0)
            close(m_slave);
        close(m_master);
        throw error;
    }
    // No echo and no line editing, or answers would come back as requests.
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);

    // The loop waits with poll and must never block in read or write.
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal()
{
    if (!m_link.empty()) {
        // Only remove the link if it is still ours.
        char target[4096];
        const ssize_t length = readlink(m_link.c_str(), target, sizeof target);
        if (length >= 0 && std::string(target, static_cast<std::size_t>(length)) == m_slavePath)
            unlink(m_link.c_str());
    }
    close(m_slave);
    close(m_master);
}

void PseudoTerminal::linkAs(const std::string& path)
{
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode))
            throw std::runtime_error(path + " exists and is not a symbolic link");
        if (unlink(path.c_str()) != 0)
            throw systemError("cannot replace " + path);
    }
    if (symlink(m_slavePath.c_str(), path.c_str()) != 0)
        throw systemError("cannot create link " + path);
    m_link = path;
}

void PseudoTerminal::discardUnread() { tcflush(m_slave, TCIFLUSH); }

int PseudoTerminal::unreadCount() const
{
    int count = 0;
    return ioctl(m_slave, TIOCINQ, &count) == 0 ? count : 0;
}

}  // namespace orvanic::sim
