// How long an exchange takes from request to completed answer, against a
// simulated device that sends no faster than the line allows, compared with
// the wire time of the two frames. Run: build/bench/bench_exchange

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/session.h"
#include "link/identification.h"
#include "link/modbus.h"
#include "support/sim_process.h"

using namespace orvanic;

namespace {

struct Probe {
    const char* name;
    Protocol protocol;
    std::vector<std::uint8_t> request;
    ExpectedAnswer expected;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    constexpr int kRounds = 15;
    const Probe probes[] = {
        {"identification, own", Protocol::Own, identificationRequest(Protocol::Own, 1), identificationAnswer(Protocol::Own)},
        {"identification, Modbus", Protocol::Modbus, identificationRequest(Protocol::Modbus, 1), identificationAnswer(Protocol::Modbus)},
        {"14 registers, Modbus", Protocol::Modbus, modbus::readHoldingRegisters(1, 100, 14),
         ExpectedAnswer::modbus(modbus::kReadHoldingRegisters)},
    };
    std::printf("%-8s %-24s %5s %5s %9s %11s %7s %13s\n", "speed", "exchange", "req", "ans", "wire ms",
                "median ms", "ratio", "after last ms");
    for (int speed : {9600, 115200}) {
        test::SimProcess sim({"--pace", "--speed", std::to_string(speed)});
        for (const Probe& probe : probes) {
            Session session;
            session.devPort = sim.portPath();
            session.devVelocity = std::to_string(speed);
            session.devVelocityInt = speed;
            if (!OpenPort(session)) {
                std::fprintf(stderr, "cannot open %s\n", sim.portPath().c_str());
                return 1;
            }
            std::vector<double> times;
            std::size_t answerBytes = 0;
            for (int round = 0; round < kRounds; ++round) {
                const auto lock = session.link.lockExchange();
                const auto start = std::chrono::steady_clock::now();
                session.link.send(probe.request);
                const ReceiveResult r = session.link.ReceiveFrame(ReceiveLimits{}, speed, probe.expected);
                const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                if (r != ReceiveResult::Received) {
                    std::fprintf(stderr, "%s: no answer\n", probe.name);
                    return 1;
                }
                answerBytes = session.link.FrameLen;
                times.push_back(ms);
            }
            ClosePort(session);
            const double wire = 10.0 * static_cast<double>(probe.request.size() + answerBytes) * 1000.0 / speed;
            const double m = median(times);
            std::printf("%-8d %-24s %5zu %5zu %9.1f %11.1f %7.2f %13.1f\n", speed, probe.name, probe.request.size(),
                        answerBytes, wire, m, m / wire, m - wire);
        }
    }
    return 0;
}
