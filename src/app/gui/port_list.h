#pragma once

#include <QStringList>

namespace orvanic::gui {

// The serial ports offered in the settings: the devices present, the
// stable names under /dev/serial/by-id, and the configured port when it
// exists (so a simulator's pseudo-terminal can be chosen). At most 100.
QStringList FindComPorts(const QString& configuredPort);

}  // namespace orvanic::gui
