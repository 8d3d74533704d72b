// Seconds per period of an hourly archive read by orvanic-cli against a
// simulated device that sends no faster than 9600 baud allows, and the ratio
// to the wire time of one request plus its answer.
// Run: build/bench/bench_archive_read

#include <chrono>
#include <cstdio>

#include "support/run_program.h"
#include "support/sim_process.h"

using namespace orvanic;

namespace {

constexpr int kSpeed = 9600;
// The example device: 6 fields, so a request of 15 bytes and an answer of
// 4 x 6 + 4 = 28 bytes (a few more where a 0x10 byte is doubled).
constexpr int kRequestBytes = 15;
constexpr int kAnswerBytes = 28;

double secondsOf(const std::vector<std::string>& args, const test::TempDir& dir)
{
    const auto start = std::chrono::steady_clock::now();
    const auto result = test::runProgram(args, dir.path());
    if (result.exitCode != 0)
        std::fprintf(stderr, "%s", result.err.c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    test::SimProcess sim({"--pace", "--speed", std::to_string(kSpeed)});
    test::TempDir dir;
    const std::vector<std::string> base = {ORVANIC_CLI_PATH, "--port", sim.portPath(), "--speed", std::to_string(kSpeed)};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = base;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const double identify = secondsOf(with({"identify"}), dir);
    const double wire = (kRequestBytes + kAnswerBytes) * 10.0 / kSpeed;
    std::printf("%-8s %8s %10s %14s %9s %7s\n", "days", "periods", "total s", "s per period", "wire s", "ratio");
    for (int days : {1, 7}) {
        const std::string to = (days == 1 ? "01.03.2017" : "07.03.2017");
        const double total = secondsOf(with({"archive", "hourly", "--from", "01.03.2017", "--to", to}), dir);
        const int periods = 24 * days;
        const double perPeriod = (total - identify) / periods;
        std::printf("%-8d %8d %10.2f %14.4f %9.4f %7.2f\n", days, periods, total, perPeriod, wire, perPeriod / wire);
    }
    return 0;
}
