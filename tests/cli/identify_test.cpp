#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/sim_process.h"

namespace orvanic {
namespace {

const char* const kExampleOutput =
    "Номер\t1234\n"
    "Прибор\tX-A40 1\n"
    "Модель\tA40\n"
    "Поля\tДата и время\tW1 [ГДж]\tV1 [м3]\tT1 [°С]\ttраб\tСтатус\n"
    "Состояния\tОбрыв\tПерегрузка\n";

TEST(CliIdentify, PrintsTheSelfDescriptionOverBothProtocols)
{
    test::SimProcess sim;
    test::TempDir dir;
    for (const char* protocol : {"own", "modbus"}) {
        const auto r = test::runProgram({ORVANIC_CLI_PATH, "--port", sim.portPath(), "--protocol", protocol, "identify"}, dir.path());
        EXPECT_EQ(r.exitCode, 0) << protocol << ": " << r.err;
        EXPECT_EQ(r.out, kExampleOutput) << protocol;
    }
}

TEST(CliIdentify, TakesLeftOutOptionsFromTheSettingsFile)
{
    test::SimProcess sim({"--protocol", "modbus"});
    test::TempDir dir;
    dir.write("QN.cfg", "[Application]\r\nCommunication=" + sim.portPath()
                            + ";\r\nBitrate=115200;\r\nBits=8;\r\nProtocol=1;\r\nEnergy=1;\r\nLog=1;\r\n");
    const auto r = test::runProgram({ORVANIC_CLI_PATH, "identify"}, dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("W1 [Гкал]"), std::string::npos) << r.out;
    EXPECT_EQ(test::readFile(dir.path() / "QN.log").substr(0, 11), "\xCF\xE5\xF0\xE5\xE4\xE0\xED\xEE:\r\n");
}

TEST(CliIdentify, FailuresGoToStderrWithNonZeroStatus)
{
    test::TempDir dir;
    const auto missing = test::runProgram({ORVANIC_CLI_PATH, "--port", (dir.path() / "ttyNone").string(), "identify"}, dir.path());
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_EQ(missing.err, "Порт либо отсутствует, либо занят другим устройством.\n");
    EXPECT_EQ(missing.out, "");

    test::SimProcess silent({}, "fault request=* silent\n");
    const auto noAnswer = test::runProgram({ORVANIC_CLI_PATH, "--port", silent.portPath(), "identify"}, dir.path());
    EXPECT_NE(noAnswer.exitCode, 0);
    EXPECT_EQ(noAnswer.err, "Устройство не отвечает.\n");

    const auto usage = test::runProgram({ORVANIC_CLI_PATH, "--protocol", "rtu", "identify"}, dir.path());
    EXPECT_EQ(usage.exitCode, 2);
}

}  // namespace
}  // namespace orvanic
