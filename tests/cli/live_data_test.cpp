#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "support/run_program.h"
#include "support/sim_process.h"

namespace orvanic {
namespace {

TEST(CliLiveData, CurrentRowsAndClockOverBothProtocols)
{
    test::SimProcess sim({}, "clock 29.02.2024 13:05:00\n");
    test::TempDir dir;
    for (const char* protocol : {"own", "modbus"}) {
        const bool modbus = std::string(protocol) == "modbus";
        const auto current = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "--protocol", protocol, "current", "--count", "3"},
                                              dir.path());
        ASSERT_EQ(current.exitCode, 0) << current.err;
        const auto rows = test::splitLines(current.out);
        ASSERT_EQ(rows.size(), 4u) << current.out;
        EXPECT_EQ(rows[0], std::string("Дата и время\tW1 [ГДж]\tV1 [м3]\tT1 [°С]\ttраб\tСтатус")
                               + (modbus ? "\tТекущий час запроса\tСчетчик опросов датчика" : ""));
        // Values move on by half a unit a poll; the status bit comes and goes.
        const std::regex row(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\t\d+(\.5)?\t.*)");
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_TRUE(std::regex_match(rows[i], row)) << rows[i];
        const auto withStatus = std::count_if(rows.begin() + 1, rows.end(), [](const std::string& r) { return r.find("\tОбрыв") != std::string::npos; });
        EXPECT_GE(withStatus, 1) << current.out;
        EXPECT_LE(withStatus, 2) << current.out;

        const auto clock = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "--protocol", protocol, "clock"}, dir.path());
        ASSERT_EQ(clock.exitCode, 0) << clock.err;
        EXPECT_TRUE(std::regex_match(clock.out, std::regex("29\\.02\\.2024 13:05:0\\d\n"))) << clock.out;
    }
}

// Noise before a Modbus clock answer shifts its bytes into another valid
// date and time (10.06.2003 17:00:05 here); a garbled answer is refused.
TEST(CliLiveData, GarbledClockAnswerIsNoClock)
{
    test::SimProcess sim({}, "clock 05.03.2017 10:05:00\nfault request=1 garbage=1\n");
    test::TempDir dir;
    const auto clock = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "--protocol", "modbus", "clock"}, dir.path());
    EXPECT_EQ(clock.exitCode, 1);
    EXPECT_EQ(clock.out, "");
    EXPECT_EQ(clock.err, "Ошибка CRC\n");
}

TEST(CliLiveData, SetClockAndScreen)
{
    test::SimProcess sim({"--protocol", "modbus"});
    test::TempDir dir;
    const std::string port = sim.portPath();
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {ORVANIC_CLI_PATH, "--port", port, "--protocol", "modbus"});
        return test::runProgram(args, dir.path());
    };
    EXPECT_EQ(run({"set-clock", "16.10.2016", "16:16:16"}).exitCode, 0);
    EXPECT_TRUE(std::regex_match(run({"clock"}).out, std::regex("16\\.10\\.2016 16:16:1\\d\n")));
    EXPECT_EQ(run({"set-clock", "31.13.2016", "16:16:16"}).exitCode, 2);

    const auto screen = run({"screen", "--count", "2"});
    ASSERT_EQ(screen.exitCode, 0) << screen.err;
    const auto rows = test::splitLines(screen.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[1].find("\t1000\t2000\t3000\t02:00:00\t\t16\t0"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find("\t1000.25\t2000.25\t3000.25\t04:00:00\t\t16\t1"), std::string::npos) << rows[2];
    EXPECT_EQ(run({"current", "--count", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace orvanic
