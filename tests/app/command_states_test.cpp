#include <gtest/gtest.h>

#include "app/command_states.h"

namespace orvanic {
namespace {

TEST(CommandStates, TableOfStates)
{
    struct Case {
        AppState state;
        bool fieldsKnown;
        CommandStates expected;  // connect, disconnect, dateTime, current, screen, readData, configFields, mcuParam
    };
    const Case cases[] = {
        {AppState::NotConnected, false, {true, false, false, false, false, false, false, false}},
        {AppState::NotConnected, true, {true, false, false, false, false, false, true, false}},
        {AppState::Connecting, false, {false, true, false, false, false, false, false, false}},
        {AppState::ConnectedIdle, false, {false, true, true, true, true, true, true, true}},
        {AppState::CurrentDataPolling, false, {false, true, false, true, false, false, true, false}},
        {AppState::ScreenDataPolling, false, {false, true, false, false, true, false, true, false}},
        {AppState::ArchiveRunning, false, {false, true, false, false, false, true, true, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandStatesFor(c.state, c.fieldsKnown), c.expected) << static_cast<int>(c.state);
}

}  // namespace
}  // namespace orvanic
