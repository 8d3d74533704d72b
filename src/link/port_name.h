#pragma once

#include <string>
#include <string_view>

namespace orvanic {

// The device path behind a port name of the settings: "COMn" is /dev/ttyS(n-1),
// a name holding '/' is a path, any other name is looked up under /dev/.
std::string portPath(std::string_view portName);

}  // namespace orvanic
