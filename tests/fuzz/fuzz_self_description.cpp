// The device's description of itself, as the identification answer's text
// carries it (one character a byte), taken as connecting takes it.

#include <string_view>

#include "self_description_check.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SelfDescription inGigajoules = parseSelfDescription(text, 0);
    const SelfDescription inGigacalories = parseSelfDescription(text, 1);
    fuzz::checkDescription(inGigajoules);
    fuzz::checkDescription(inGigacalories);
    // Modbus adds two columns of its own, so the limits differ.
    fuzz::takeIntoSession(inGigajoules, 0);
    fuzz::takeIntoSession(inGigacalories, 1);
    return 0;
}
