#pragma once

#include <string>

namespace orvanic::sim {

// The simulator's end of a pseudo-terminal. It keeps a raw slave descriptor
// open itself so the master never reads EIO while no client has the port.
class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::runtime_error
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    // Makes `path` a symbolic link to the slave (replacing an old link); it
    // is removed again on destruction. Throws std::runtime_error.
    void linkAs(const std::string& path);

    // Throws away answer bytes that no client has read.
    void discardUnread();
    // How many answer bytes no client has read yet.
    int unreadCount() const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_link;
};

}  // namespace orvanic::sim
