// The device parameter read: its request, the checks of its answer, the
// texts the editor writes back, and one read against the simulated device.

#include <gtest/gtest.h>

#include <filesystem>
#include <variant>

#include "app/connect_device.h"
#include "archive/parameter_read.h"
#include "archive/parameter_write.h"
#include "link/modbus.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

using Bytes = std::vector<std::uint8_t>;
using enum ParameterReadOutcome;

TEST(ParameterReadRequest, ReadsFromRegisterZeroWithTheCountKeptToEightBits)
{
    struct Case {
        std::uint8_t address;
        std::uint8_t countFields;
        Bytes request;
    };
    const Case cases[] = {
        // The textbook "read 10 registers from 0 of device 1".
        {0x01, 4, {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}},
        {0x11, 6, {0x11, 0x03, 0x00, 0x00, 0x00, 0x0E, 0xC6, 0x9E}},
        // 2 x 127 + 2 = 256 and 2 x 200 + 2 = 402 lose their ninth bit.
        {0x01, 127, {0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x45, 0xCA}},
        {0xFF, 200, {0xFF, 0x03, 0x00, 0x00, 0x00, 0x92, 0xD1, 0xB9}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parameterReadRequest(c.address, c.countFields), c.request)
            << "address " << int(c.address) << ", CountFields " << int(c.countFields);
}

TEST(ParameterReadAnswer, Checks)
{
    // Two registers asked of device 1.
    const Bytes good = modbus::frame({0x01, 0x03, 0x04, 0x00, 0x0A, 0x00, 0x0B});
    Bytes badCrc = good;
    badCrc.back() ^= 0x01;
    Bytes flipped = good;
    flipped[4] ^= 0x40;
    struct Case {
        const char* what;
        Bytes answer;
        std::uint8_t address;
        ParameterReadOutcome outcome;
    };
    const Case cases[] = {
        {"good", good, 1, Good},
        {"address 0 takes the device's own", good, 0, Good},
        {"wrong checksum", badCrc, 1, BadChecksum},
        {"a value byte garbled", flipped, 1, BadChecksum},
        {"cut short", Bytes(good.begin(), good.begin() + 4), 1, BadChecksum},
        {"nothing but a CRC", modbus::frame({0x01}), 1, BadChecksum},
        {"empty", {}, 1, BadChecksum},
        {"exception", modbus::frame({0x01, 0x83, 0x02}), 1, Refused},
        {"exception with a byte more", modbus::frame({0x01, 0x83, 0x02, 0x00}), 1, WrongAnswer},
        {"one register instead of two", modbus::frame({0x01, 0x03, 0x02, 0x00, 0x0A}), 1, WrongAnswer},
        {"byte count beyond the frame", modbus::frame({0x01, 0x03, 0x06, 0x00, 0x0A, 0x00, 0x0B}), 1, WrongAnswer},
        {"byte count short of the frame", modbus::frame({0x01, 0x03, 0x02, 0x00, 0x0A, 0x00, 0x0B}), 1, WrongAnswer},
        {"another device", modbus::frame({0x02, 0x03, 0x04, 0x00, 0x0A, 0x00, 0x0B}), 1, WrongAnswer},
        {"another function", modbus::frame({0x01, 0x04, 0x04, 0x00, 0x0A, 0x00, 0x0B}), 1, WrongAnswer},
    };
    for (const Case& c : cases) {
        const ParameterReadCheck check = checkParameterReadAnswer(c.answer, c.address, 2);
        EXPECT_EQ(check.outcome, c.outcome) << c.what;
        if (c.outcome == Good)
            EXPECT_EQ(Bytes(check.registers.begin(), check.registers.end()), (Bytes{0x00, 0x0A, 0x00, 0x0B})) << c.what;
        else
            EXPECT_TRUE(check.registers.empty()) << c.what;
    }
    EXPECT_EQ(checkParameterReadAnswer(modbus::frame({0x01, 0x83, 0x02}), 1, 2).exceptionCode, 2);
}

TEST(ParameterReadAnswer, WhatTheOperatorIsTold)
{
    auto told = [](ParameterReadOutcome outcome) {
        ParameterReadResult result;
        result.outcome = outcome;
        result.exceptionCode = 2;
        return parameterReadMessage(result);
    };
    EXPECT_EQ(told(Good), std::nullopt);
    EXPECT_EQ(told(Interrupted), std::nullopt) << "the window is closing";
    EXPECT_EQ(told(NoAnswer), (UserMessage{"Устройство не отвечает.", "Сообщение об ошибке"}));
    EXPECT_EQ(told(BadChecksum), (UserMessage{"Ошибка CRC", "Внимание"}));
    ASSERT_TRUE(told(Refused));
    EXPECT_NE(told(Refused)->text.find("2"), std::string::npos) << told(Refused)->text;
    ASSERT_TRUE(told(WrongAnswer));
    EXPECT_EQ(told(WrongAnswer)->caption, "Внимание");
}

TEST(ParameterWrite, EveryTextANumberOrTheFirstThatIsNone)
{
    ParameterTexts texts;
    texts[0] = {"1,5", "-2", "3E2", "+0,25e-1"};
    texts[2] = {"7"};
    const auto converted = convertParameterTexts(texts, ",");
    ASSERT_TRUE(std::holds_alternative<ParameterValues>(converted));
    const ParameterValues& values = std::get<ParameterValues>(converted);
    EXPECT_EQ(values[0], (std::vector<double>{1.5, -2, 300, 0.025}));
    EXPECT_TRUE(values[1].empty());
    EXPECT_EQ(values[2], std::vector<double>{7});

    struct Case {
        std::size_t page;
        std::size_t index;
        std::string text;
    };
    const Case bad[] = {
        {0, 1, "abc"},
        {3, 0, ""},      // an empty cell is no number either
        {1, 2, "1.5"},   // not the regional separator
        {2, 0, "1,5 "},  // nothing around the number
    };
    for (const Case& c : bad) {
        ParameterTexts t;
        for (auto& page : t)
            page = {"1", "2", "3"};
        t[c.page][c.index] = c.text;
        t[3].push_back("xyz");  // a later bad text is not the one named
        const auto result = convertParameterTexts(t, ",");
        ASSERT_TRUE(std::holds_alternative<BadParameterText>(result)) << c.text;
        EXPECT_EQ(std::get<BadParameterText>(result), (BadParameterText{c.page, c.index + 1, c.text}));
    }

    const UserMessage told = badParameterTextMessage({2, 3, "abc"});
    EXPECT_EQ(told.caption, "Внимание");
    for (const char* part : {"\"Коэффициенты\"", "параметр 3", "\"abc\""})
        EXPECT_NE(told.text.find(part), std::string::npos) << told.text;
}

// One read against the simulated device, after a logged identification.
TEST(ParameterRead, AgainstTheSimulatorAndUnlogged)
{
    const test::TempDir dir;
    const std::filesystem::path oldDir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::filesystem::path requests = dir.path() / "requests.txt";
    {
        test::SimProcess sim({"--record", requests.string()});
        Session session;
        session.devPort = sim.portPath();
        session.devProtocol = 0;  // the read is Modbus whatever the setting says
        session.devAddress = 1;
        session.devLogFile = true;
        ASSERT_TRUE(identifyDevice(session).connected);
        const auto logSize = std::filesystem::file_size("QN.log");

        const ParameterReadResult result = readParameters(session);
        EXPECT_EQ(result.outcome, Good);
        for (const auto& page : result.pages)
            EXPECT_TRUE(page.empty());
        EXPECT_EQ(std::filesystem::file_size("QN.log"), logSize) << "the read stays out of the log";
        ClosePort(session);
    }
    const std::string recorded = test::readFile(requests);
    EXPECT_NE(recorded.find("\n01 03 00 00 00 0E"), std::string::npos) << recorded;
    std::filesystem::current_path(oldDir);
}

}  // namespace
}  // namespace orvanic
