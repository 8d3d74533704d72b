#include <gtest/gtest.h>


#include "support/run_program.h"
#include "support/sim_process.h"

namespace orvanic {
namespace {

std::vector<std::string> firstCells(const std::string& text)
{
    std::vector<std::string> out = test::splitLines(text);
    for (std::string& line : out)
        line = line.substr(0, line.find('\t'));
    return out;
}

TEST(CliArchive, OneRowPerExchangeWithMessageRows)
{
    test::SimProcess sim({}, "fault period=05.03.2017/02 times=1 crc\nfault period=05.03.2017/04 nodata\n");
    test::TempDir dir;
    const auto hourly = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "archive", "hourly", "--from", "05.03.2017",
                                          "--to", "05.03.2017", "--hours", "0-5"},
                                         dir.path());
    ASSERT_EQ(hourly.exitCode, 0) << hourly.err;
    EXPECT_EQ(firstCells(hourly.out),
              (std::vector<std::string>{"Дата и время", "00:05.03.2017", "01:05.03.2017", "Ошибка CRC", "02:05.03.2017",
                                        "03:05.03.2017", " - данные отсутствуют", "05:05.03.2017"}));
    EXPECT_NE(hourly.out.find("00:05.03.2017\t1305\t2305\t3305\t01:00:00\tОбрыв\n"), std::string::npos) << hourly.out;

    const auto monthly = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "--protocol", "modbus", "archive", "monthly",
                                           "--from", "15.01.2017", "--to", "10.03.2017"},
                                          dir.path());
    ASSERT_EQ(monthly.exitCode, 0) << monthly.err;
    EXPECT_EQ(firstCells(monthly.out), (std::vector<std::string>{"Дата и время", "255.01.2017", "255.02.2017", "255.03.2017"}));
    EXPECT_NE(monthly.out.find("255.02.2017\t1200\t2200\t3200\t24:00:00\t\t0\t217\n"), std::string::npos) << monthly.out;

    EXPECT_EQ(test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "archive", "weekly", "--from", "01.01.2017", "--to",
                                "02.01.2017"},
                               dir.path())
                  .exitCode,
              2);
}

// A port that goes away ends the read with a message and writes no files
// that would pass for the whole range.
TEST(CliArchive, APortThatGoesAwayEndsTheRead)
{
    test::SimProcess sim({}, "fault request=4 silent vanish\n");
    test::TempDir dir;
    const auto read = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "archive", "hourly", "--from", "05.03.2017",
                                        "--to", "05.03.2017", "-o", "day.dat", "--csv", "day.csv"},
                                       dir.path());
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_EQ(read.err, "Устройство не отвечает.\n");
    EXPECT_EQ(firstCells(read.out), (std::vector<std::string>{"Дата и время", "00:05.03.2017", "01:05.03.2017",
                                                              "02:05.03.2017 - данные отсутствуют"}));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "day.dat"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "day.csv"));
}

}  // namespace
}  // namespace orvanic
