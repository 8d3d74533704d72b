#pragma once

#include "bytes.h"

#include <string_view>

namespace orvanic::sim {

// Turns UTF-8 text into the device's single-byte text: ASCII as is, the
// Cyrillic letters the device knows in its code page, "\xNN" as a raw byte,
// anything else as '?'.
Bytes encodeDeviceText(std::string_view utf8);

}  // namespace orvanic::sim
