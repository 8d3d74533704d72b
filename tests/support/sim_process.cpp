#include "support/sim_process.h"

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace orvanic::test {
namespace {

// The first line the simulator prints: the path of its terminal.
std::string readFirstLine(int fd)
{
    std::string line;
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 5000) <= 0)
            throw std::runtime_error("orvanic-sim printed no terminal path");
        char c = 0;
        if (::read(fd, &c, 1) != 1)
            throw std::runtime_error("orvanic-sim ended before printing its terminal path");
        if (c == '\n')
            return line;
        line.push_back(c);
    }
}

}  // namespace

SimProcess::SimProcess(std::vector<std::string> options, std::string_view scenario)
{
    std::vector<std::string> args = {ORVANIC_SIM_PATH};
    args.insert(args.end(), options.begin(), options.end());
    if (!scenario.empty()) {
        args.push_back("--scenario");
        args.push_back(m_dir.write("scenario.txt", scenario).string());
    }
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int r = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (r != 0) {
        ::close(out[0]);
        throw std::runtime_error("cannot start orvanic-sim");
    }
    try {
        m_portPath = readFirstLine(out[0]);
    } catch (...) {
        ::close(out[0]);
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        throw;
    }
    ::close(out[0]);
}

SimProcess::~SimProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

}  // namespace orvanic::test
