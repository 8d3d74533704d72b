#pragma once

#include <optional>

namespace orvanic::gui {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The keyboard's lock indicators from the X11 server; nothing where the
// program does not run on X11.
std::optional<LockKeys> readLockKeys();

}  // namespace orvanic::gui
