#include "link/port_name.h"

#include <cctype>

namespace orvanic {
namespace {

bool isComAlias(std::string_view name)
{
    if (name.size() < 4)
        return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i])
            return false;
    }
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    return name[3] != '0' && name.size() <= 6;
}

}  // namespace

std::string portPath(std::string_view portName)
{
    if (portName.find('/') != std::string_view::npos)
        return std::string(portName);
    if (isComAlias(portName))
        return "/dev/ttyS" + std::to_string(std::stoi(std::string(portName.substr(3))) - 1);
    return "/dev/" + std::string(portName);
}

}  // namespace orvanic
