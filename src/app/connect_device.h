#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/session.h"

namespace orvanic {

// The result table holds at most this many columns.
inline constexpr std::size_t kMaxColumns = 40;

struct ConnectOutcome {
    bool connected = false;
    // Why not, for the operator; empty when the attempt was interrupted.
    std::optional<UserMessage> message;
};

// The window-free part of connecting: open the port, ask the device who it
// is, check the answer and take its self-description into the session
// (DevStruct, the special-field indexes, devType) and the field selection,
// every column selected. On failure the port and the log are closed and the
// session keeps what it held.
ConnectOutcome identifyDevice(Session& session);

// The part of identifyDevice after the answer is parsed: a description the
// program can show whole goes into the session as above; one it cannot is
// refused with the operator's message, the session keeping what it held.
std::optional<UserMessage> takeSelfDescription(Session& session, const SelfDescription& description);

// One caption per result-table column: the field names, and for Modbus two
// further columns whose captions the data commands give.
std::vector<std::string> columnCaptions(const Session& session);

// "Подключено устройство <name> №<number>".
std::string connectedHeaderText(const TOrvanicStruct& description);

}  // namespace orvanic
