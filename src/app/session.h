#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "app/settings.h"
#include "files/fields_list.h"
#include "link/link.h"
#include "link/self_description.h"

namespace orvanic {

// Days since 1899-12-30 00:00; the fraction is the time of day.
using TDateTime = double;

// The one device connection: its settings and flags, the device's
// self-description and the link that carries the exchanges. The main window
// owns one; workers get a reference. Flags read by workers are atomic.
struct Session {
    static constexpr std::uint32_t kInvalidHandle = 0xFFFFFFFF;

    // The open port, or all bits set when none is open.
    std::uint32_t devHandle() const
    {
        return link.port.isOpen() ? static_cast<std::uint32_t>(link.port.handle()) : kInvalidHandle;
    }

    std::string devPort = "COM1";
    std::string devVelocity = "9600";
    std::int32_t devVelocityInt = 9600;
    std::uint8_t devBits = 8;
    bool devLogFile = false;
    TOrvanDevice devType = TOrvanDevice::mcuA40;
    std::uint8_t devProtocol = 0;
    std::uint8_t devTypeEnergy = 0;
    std::atomic<bool> devCurrentData{false};
    std::atomic<bool> devScreenData{false};
    std::atomic<bool> devData{false};
    std::uint8_t devLink = 0;
    std::uint8_t devAddress = 0;
    std::string pfPath;
    TDateTime devDate = 0;
    TDateTime devTime = 0;
    TDateTime devBeginTime = 0;
    TDateTime DevEndTime = 0;
    TDateTime devCurrentTime = 0;
    std::uint8_t devTypeTime = 0;
    std::int32_t TimeRequest = 1;
    std::uint8_t Pass = 0;

    TOrvanicStruct DevStruct;
    SpecialFieldIndexes indexes;
    AFieldsList FieldsList;
    Link link;
};

// Speed text to number; a text that is no number gives 0, which the
// receive pause treats as "no pause".
std::int32_t velocityValue(const std::string& devVelocity);

// The values the settings file keeps, into and out of the session.
void applySettings(Session& session, const Settings& settings);
Settings currentSettings(const Session& session);

bool OpenPort(Session& session);
void ClosePort(Session& session);
// The exchange log, only while logging is switched on.
void CreateLogFile(Session& session);
void OpenLogFile(Session& session);
void CloseLogFile(Session& session);

}  // namespace orvanic
