#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvanic {

// A request is built in, and an answer collected into, a buffer of this size.
// Nothing the device sends is ever stored past its end.
inline constexpr std::size_t kFrameBufSize = 500;

// The frame buffer the exchange cycle works in (known to the device maker's
// documents as _TBuf; a leading underscore before a capital is reserved in C++).
using TBuf = std::array<std::uint8_t, kFrameBufSize>;

}  // namespace orvanic
