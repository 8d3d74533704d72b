#include "app/session.h"

#include <charconv>

#include "link/port_name.h"

namespace orvanic {

std::int32_t velocityValue(const std::string& devVelocity)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(devVelocity.data(), devVelocity.data() + devVelocity.size(), value);
    if (error != std::errc() || end != devVelocity.data() + devVelocity.size())
        return 0;
    return value;
}

void applySettings(Session& session, const Settings& settings)
{
    session.devPort = settings.devPort;
    session.devVelocity = settings.devVelocity;
    session.devVelocityInt = velocityValue(settings.devVelocity);
    session.devBits = settings.devBits;
    session.devProtocol = settings.devProtocol;
    session.devTypeEnergy = settings.devTypeEnergy;
    session.devLogFile = settings.devLogFile;
}

Settings currentSettings(const Session& session)
{
    return Settings{session.devPort, session.devVelocity, session.devBits,
                    session.devProtocol, session.devTypeEnergy, session.devLogFile};
}

bool OpenPort(Session& session)
{
    return session.link.port.open(portPath(session.devPort), velocityValue(session.devVelocity), session.devBits);
}

void ClosePort(Session& session)
{
    session.link.port.close();
}

void CreateLogFile(Session& session)
{
    if (session.devLogFile)
        session.link.log.create();
}

void OpenLogFile(Session& session)
{
    if (session.devLogFile)
        session.link.log.open();
}

void CloseLogFile(Session& session)
{
    session.link.log.close();
}

}  // namespace orvanic
