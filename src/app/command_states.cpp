#include "app/command_states.h"

namespace orvanic {

CommandStates commandStatesFor(AppState state, bool fieldsKnown)
{
    CommandStates c;
    switch (state) {
    case AppState::NotConnected:
        c.connect = true;
        c.configFields = fieldsKnown;
        break;
    case AppState::Connecting:
        c.disconnect = true;
        break;
    case AppState::ConnectedIdle:
        c.disconnect = c.dateTime = c.currentData = c.screenData = c.readData = true;
        c.configFields = true;
        // The only way to the password dialog and the parameter editor.
        c.mcuParam = true;
        break;
    case AppState::CurrentDataPolling:
        c.disconnect = c.currentData = c.configFields = true;
        break;
    case AppState::ScreenDataPolling:
        c.disconnect = c.screenData = c.configFields = true;
        break;
    case AppState::ArchiveRunning:
        c.disconnect = c.readData = c.configFields = true;
        break;
    }
    return c;
}

}  // namespace orvanic
