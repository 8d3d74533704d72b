#include "stop_signal.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>

namespace orvanic::sim {

namespace {

volatile std::sig_atomic_t g_stop = 0;
sigset_t g_waitMask;  // the mask while waiting: stop signals let through

void onStopSignal(int) { g_stop = 1; }

// Time left until the deadline for ppoll; null means wait without limit.
const timespec* timeLeft(Deadline deadline, timespec& storage)
{
    if (!deadline)
        return nullptr;
    const auto left = std::max(std::chrono::steady_clock::duration::zero(),
                               *deadline - std::chrono::steady_clock::now());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    storage.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    storage.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return &storage;
}

}  // namespace

void installStopHandlers()
{
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, &g_waitMask);
    sigdelset(&g_waitMask, SIGINT);
    sigdelset(&g_waitMask, SIGTERM);

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested() { return g_stop != 0; }

short waitForFd(int fd, short events, Deadline deadline)
{
    pollfd entry{fd, events, 0};
    while (!stopRequested()) {
        timespec storage{};
        const int ready = ppoll(&entry, 1, timeLeft(deadline, storage), &g_waitMask);
        if (ready > 0)
            return entry.revents;
        if (ready == 0)
            return 0;
        if (errno != EINTR)
            return 0;
    }
    return 0;
}

bool sleepUntil(std::chrono::steady_clock::time_point deadline)
{
    while (!stopRequested() && std::chrono::steady_clock::now() < deadline) {
        timespec storage{};
        ppoll(nullptr, 0, timeLeft(deadline, storage), &g_waitMask);
    }
    return !stopRequested();
}

}  // namespace orvanic::sim
