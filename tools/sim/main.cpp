// orvanic-sim: a heat-metering computer on a pseudo-terminal, for testing the
// program against bytes it did not produce itself.

#include "device.h"
#include "device_text.h"
#include "faults.h"
#include "options.h"
#include "pty.h"
#include "scenario.h"
#include "simulator.h"
#include "stop_signal.h"

#include <cstdio>
#include <exception>

namespace {

constexpr int kExitBadUsage = 2;
constexpr int kExitFailure = 1;
constexpr const char* kDefaultDescription = "1234|X-A40 1|W1|V1|T1|tраб|S|Обрыв|Перегрузка";

int fail(int code, const char* message)
{
    std::fprintf(stderr, "orvanic-sim: %s\n", message);
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace orvanic::sim;

    Options options;
    Scenario scenario;
    try {
        options = parseOptions(argc, argv);
        if (options.help) {
            std::fputs(usageText(), stdout);
            return 0;
        }
        if (options.scenario)
            scenario = loadScenario(*options.scenario);
    } catch (const std::exception& e) {
        return fail(kExitBadUsage, e.what());
    }

    installStopHandlers();
    try {
        PseudoTerminal terminal;
        if (options.link) {
            try {
                terminal.linkAs(*options.link);
            } catch (const std::exception& e) {
                return fail(kExitBadUsage, e.what());
            }
        }
        // The first line tells the caller where to connect.
        std::printf("%s\n", terminal.slavePath().c_str());
        std::fflush(stdout);

        Device device({scenario.address, scenario.description.value_or(encodeDeviceText(kDefaultDescription)),
                       scenario.clock});
        FaultPlan faults(std::move(scenario.faults));
        const SimulatorSettings settings{options.protocol,
                                         options.pace ? std::optional<unsigned>(options.speed) : std::nullopt,
                                         options.verbose, options.record};
        Simulator(terminal, device, faults, settings).run();
    } catch (const std::exception& e) {
        return fail(kExitFailure, e.what());
    }
    return 0;
}
