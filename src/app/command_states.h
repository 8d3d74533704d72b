#pragma once

namespace orvanic {

// What the program is doing, as far as its commands care.
enum class AppState {
    NotConnected,
    Connecting,  // identification running; "Отключить" cancels it
    ConnectedIdle,
    CurrentDataPolling,
    ScreenDataPolling,
    ArchiveRunning,
};

// Which device commands are enabled; a tool button and its menu item agree.
// Settings, file, view and help commands are always enabled.
struct CommandStates {
    bool connect = false;
    bool disconnect = false;
    bool dateTime = false;
    bool currentData = false;  // while polling: the stop command
    bool screenData = false;   // likewise
    bool readData = false;     // while reading an archive: the stop command
    bool configFields = false;
    bool mcuParam = false;

    bool operator==(const CommandStates&) const = default;
};

// `fieldsKnown`: a data file has been opened, so the field dialog has
// columns to work on even without a device.
CommandStates commandStatesFor(AppState state, bool fieldsKnown);

}  // namespace orvanic
