#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "support/temp_dir.h"

namespace orvanic::test {

// orvanic-sim on a pseudo-terminal of its own, started for one test and
// stopped (by its process id) when the object goes.
class SimProcess {
public:
    // `scenario` is the text of a scenario file; empty for none.
    explicit SimProcess(std::vector<std::string> options = {}, std::string_view scenario = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device path a client opens, e.g. /dev/pts/4.
    const std::string& portPath() const { return m_portPath; }

private:
    TempDir m_dir;
    pid_t m_pid = -1;
    std::string m_portPath;
};

}  // namespace orvanic::test
