// The settings file QN.cfg, and what the program makes of its values: the
// connection fields, the port's path and the pause between reads.

#include <string_view>

#include "app/session.h"
#include "app/settings.h"
#include "fuzz_check.h"
#include "link/port_name.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Settings read = parseSettings(std::string_view(reinterpret_cast<const char*>(data), size));
    // Whatever was read is written back so that it reads the same.
    FUZZ_CHECK(parseSettings(formatSettings(read)) == read);

    // One session for the run: it owns a port, not worth making per input.
    static Session session;
    applySettings(session, read);
    FUZZ_CHECK(currentSettings(session) == read);
    (void)portPath(session.devPort);
    FUZZ_CHECK(receivePauseMs(19200, session.devVelocityInt) >= 0);
    return 0;
}
