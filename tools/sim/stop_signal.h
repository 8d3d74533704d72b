#pragma once

#include <chrono>
#include <optional>

namespace orvanic::sim {

// SIGINT and SIGTERM ask the simulator to stop. They stay blocked except
// while waiting, so a stop cannot slip in between a check and a wait.
void installStopHandlers();
bool stopRequested();

using Deadline = std::optional<std::chrono::steady_clock::time_point>;

// Waits for `events` on `fd` until the deadline (none: no limit). Returns the
// events that occurred, 0 on timeout or when a stop was requested.
short waitForFd(int fd, short events, Deadline deadline);

// Returns false when a stop was requested before the deadline.
bool sleepUntil(std::chrono::steady_clock::time_point deadline);

}  // namespace orvanic::sim
