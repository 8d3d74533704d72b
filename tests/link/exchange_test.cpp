// Identification over a real pseudo-terminal, against the simulated device.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/connect_device.h"
#include "link/crc.h"
#include "link/identification.h"
#include "link/link.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

using Clock = std::chrono::steady_clock;
using Names = std::vector<std::string>;

// The simulator's own description, in the device code page.
const std::string kExampleText = std::string("1234|X-A40 1|W1|V1|T1|") + "\x74\xE0\xA0\xA1" + "|S|" + "\x8E\xA1\xE0\xEB\xA2"
    + "|" + "\x8F\xA5\xE0\xA5\xA3\xE0\xE3\xA7\xAA\xA0";

std::string withLabel(std::string_view label, std::string_view frame)
{
    return std::string(label) + "\r\n" + std::string(frame) + "\r\n";
}

std::string fromBytes(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// Each test runs in a folder of its own, where the exchange log appears.
class Exchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldDir = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.path());
    }
    void TearDown() override { std::filesystem::current_path(m_oldDir); }

    static void configure(Session& session, const test::SimProcess& sim, std::uint8_t protocol, bool log = false)
    {
        session.devPort = sim.portPath();
        session.devProtocol = protocol;
        session.devLogFile = log;
        session.devAddress = 1;
    }

    std::filesystem::path logPath() const { return m_dir.path() / "QN.log"; }

    // Connects and says how long it took.
    static std::pair<ConnectOutcome, double> timedConnect(Session& session)
    {
        const auto start = Clock::now();
        ConnectOutcome outcome = identifyDevice(session);
        return {outcome, std::chrono::duration<double>(Clock::now() - start).count()};
    }

private:
    test::TempDir m_dir;
    std::filesystem::path m_oldDir;
};

TEST_F(Exchange, BothProtocolsDescribeTheExampleDevice)
{
    test::SimProcess sim;
    for (std::uint8_t protocol : {std::uint8_t{0}, std::uint8_t{1}}) {
        Session session;
        configure(session, sim, protocol);
        const ConnectOutcome outcome = identifyDevice(session);
        ASSERT_TRUE(outcome.connected) << (outcome.message ? outcome.message->text : "interrupted");
        EXPECT_NE(session.devHandle(), Session::kInvalidHandle);
        const TOrvanicStruct& d = session.DevStruct;
        EXPECT_EQ(d.DeviceNumber, "1234");
        EXPECT_EQ(d.DeviceName, "X-A40 1");
        EXPECT_EQ(d.CountFields, 6);
        EXPECT_EQ(d.CountStatus, 2);
        EXPECT_EQ(d.StructStatus[0].utf8(), "Обрыв");
        EXPECT_EQ(d.StructStatus[1].utf8(), "Перегрузка");
        EXPECT_EQ(session.indexes.WorkTimeIndex, 5);
        EXPECT_EQ(session.indexes.ModeTimeIndex, 2);
        EXPECT_EQ(session.indexes.StatusIndex, 6);
        EXPECT_EQ(session.devType, TOrvanDevice::mcuA40);
        EXPECT_EQ(connectedHeaderText(d), "Подключено устройство X-A40 1 №1234");
        Names columns = {"Дата и время", "W1 [ГДж]", "V1 [м3]", "T1 [°С]", "tраб", "Статус"};
        if (protocol == 1)
            columns.insert(columns.end(), {"", ""});
        EXPECT_EQ(columnCaptions(session), columns);
        ClosePort(session);
    }
}

TEST_F(Exchange, FirstByteLimitIsFourSeconds)
{
    test::SimProcess lateButInTime({}, "fault request=1 delay=3500\n");
    Session session;
    configure(session, lateButInTime, 0);
    auto [outcome, seconds] = timedConnect(session);
    EXPECT_TRUE(outcome.connected);
    EXPECT_LT(seconds, 4.0);
    ClosePort(session);

    test::SimProcess tooLate({}, "fault request=1 delay=4500\n");
    Session other;
    configure(other, tooLate, 0);
    std::tie(outcome, seconds) = timedConnect(other);
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(outcome.message, (UserMessage{"Устройство не отвечает.", "Сообщение об ошибке"}));
    EXPECT_EQ(other.devHandle(), Session::kInvalidHandle);
    EXPECT_GE(seconds, 4.0);
    EXPECT_LT(seconds, 4.5);
}

TEST_F(Exchange, AnswerInChunksWithGapsIsReceivedWhole)
{
    test::SimProcess sim({}, "fault request=1 chunks=3,1500\nfault request=2 chunks=3,1500\n");
    for (std::uint8_t protocol : {std::uint8_t{0}, std::uint8_t{1}}) {
        Session session;
        configure(session, sim, protocol);
        const auto [outcome, seconds] = timedConnect(session);
        EXPECT_TRUE(outcome.connected) << int(protocol);
        EXPECT_EQ(session.DevStruct.CountStatus, 2);
        EXPECT_LT(seconds, 3.5) << "ends when whole, not on silence";
        ClosePort(session);
    }
}

TEST_F(Exchange, LogHoldsExactlyTheBytesOfTheLastConnection)
{
    test::SimProcess sim;
    Session session;
    configure(session, sim, 1, true);
    ASSERT_TRUE(identifyDevice(session).connected);
    ClosePort(session);

    // The answer, built here from the description: registers carry the
    // first character in the low byte; an odd text is padded with "|".
    std::string text = kExampleText + "|";
    std::vector<std::uint8_t> answer = {0x01, 0x11, static_cast<std::uint8_t>(text.size())};
    for (std::size_t i = 0; i < text.size(); i += 2) {
        answer.push_back(static_cast<std::uint8_t>(text[i + 1]));
        answer.push_back(static_cast<std::uint8_t>(text[i]));
    }
    const std::uint16_t crc = CRC16Buf(answer);
    answer.push_back(lowByte(crc));
    answer.push_back(highByte(crc));

    const std::string sent = "\xCF\xE5\xF0\xE5\xE4\xE0\xED\xEE:";  // "Передано:" in Windows-1251
    const std::string received = "\xCF\xEE\xEB\xF3\xF7\xE5\xED\xEE:";  // "Получено:"
    const std::string expected = withLabel(sent, "\x01\x11\xC0\x2C") + withLabel(received, fromBytes(answer));
    EXPECT_EQ(test::readFile(logPath()), expected);

    // Connecting again starts the log afresh.
    ASSERT_TRUE(identifyDevice(session).connected);
    ClosePort(session);
    EXPECT_EQ(test::readFile(logPath()), expected);
}

TEST_F(Exchange, NoLogWhenLoggingIsOffAndNoFailureWhenItCannotBeWritten)
{
    test::SimProcess sim;
    Session session;
    configure(session, sim, 0, false);
    ASSERT_TRUE(identifyDevice(session).connected);
    ClosePort(session);
    EXPECT_FALSE(std::filesystem::exists(logPath()));

    std::filesystem::create_directory(logPath());  // a log that cannot be opened
    session.devLogFile = true;
    EXPECT_TRUE(identifyDevice(session).connected);
    ClosePort(session);
}

struct BadAnswer {
    const char* name;
    std::string scenario;
    std::uint8_t protocol;
    UserMessage message;
    friend void PrintTo(const BadAnswer& b, std::ostream* os) { *os << b.name; }
};

const UserMessage kCrcMessage{"Ошибка CRC", "Внимание"};
const BadAnswer kBadAnswers[] = {
    {"OwnChecksum", "fault request=2 crc\n", 0, kCrcMessage},
    {"ModbusChecksum", "fault request=2 crc\n", 1, kCrcMessage},  // a garbled description is never shown
    {"OwnTooShortForEnvelope", "fault request=2 short=6\n", 0, kCrcMessage},
    {"ModbusTooShortForEnvelope", "fault request=2 short=4\n", 1, kCrcMessage},
    {"OwnOversize", "fault request=2 oversize=600\n", 0, kCrcMessage},
    {"ModbusSilent", "fault request=2 silent\n", 1, {"Устройство не отвечает.", "Сообщение об ошибке"}},
};

class BadAnswers : public Exchange, public ::testing::WithParamInterface<BadAnswer> {};

TEST_P(BadAnswers, RefuseTheConnectionAndKeepTheEarlierDevice)
{
    const BadAnswer& c = GetParam();
    test::SimProcess sim({}, c.scenario);
    Session session;
    configure(session, sim, c.protocol);
    ASSERT_TRUE(identifyDevice(session).connected);
    ClosePort(session);

    const ConnectOutcome outcome = identifyDevice(session);
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(outcome.message, c.message);
    EXPECT_EQ(session.devHandle(), Session::kInvalidHandle);
    EXPECT_EQ(session.DevStruct.DeviceNumber, "1234") << "the earlier description stays";
    EXPECT_EQ(session.DevStruct.CountFields, 6);
    EXPECT_EQ(session.devType, TOrvanDevice::mcuA40);
}

INSTANTIATE_TEST_SUITE_P(Exchange, BadAnswers, ::testing::ValuesIn(kBadAnswers),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(Exchange, DescriptionsTooLargeToShowAreRefused)
{
    std::string manyFields = "description 9|X-B8 1|";
    for (int i = 0; i < 40; ++i)
        manyFields += "V" + std::to_string(i) + "|";
    std::string manyStates = "description 9|X-B8 1|V1|S|";
    for (int i = 0; i < 51; ++i)
        manyStates += "s" + std::to_string(i) + "|";
    for (const std::string& scenario : {manyFields + "S|a|\n", manyStates + "\n"}) {
        test::SimProcess sim({}, scenario);
        Session session;
        configure(session, sim, 0);
        const ConnectOutcome outcome = identifyDevice(session);
        EXPECT_FALSE(outcome.connected);
        ASSERT_TRUE(outcome.message);
        EXPECT_EQ(outcome.message->caption, "Внимание");
        EXPECT_EQ(session.devHandle(), Session::kInvalidHandle);
        EXPECT_EQ(session.DevStruct.CountFields, 0) << "nothing of it is kept";
    }
}

TEST_F(Exchange, PortMissingOrHeldByAnotherProgram)
{
    Session missing;
    missing.devPort = (std::filesystem::current_path() / "no-such-port").string();
    const UserMessage portMessage{"Порт либо отсутствует, либо занят другим устройством.", "Сообщение об ошибке"};
    EXPECT_EQ(identifyDevice(missing).message, portMessage);

    test::SimProcess sim;
    Session holder;
    configure(holder, sim, 0);
    ASSERT_TRUE(identifyDevice(holder).connected);
    Session second;
    configure(second, sim, 0);
    EXPECT_EQ(identifyDevice(second).message, portMessage);
    ClosePort(holder);
    EXPECT_TRUE(identifyDevice(second).connected) << "free again once closed";
    ClosePort(second);
}

// A device that goes away leaves a port that will never answer again: the
// wait ends at once, with what came before, and so does every later one.
TEST_F(Exchange, ADeviceThatGoesAwayIsNotWaitedFor)
{
    // Half an answer and then gone, or gone before answering.
    for (const auto& [scenario, first] : {std::pair{"fault request=1 vanish\n", ReceiveResult::Received},
                                          std::pair{"fault request=1 silent vanish\n", ReceiveResult::NoAnswer}}) {
        SCOPED_TRACE(scenario);
        test::SimProcess sim({}, scenario);
        Link link;
        ASSERT_TRUE(link.port.open(sim.portPath(), 9600, 8));
        const ExpectedAnswer expected = identificationAnswer(Protocol::Own);
        for (ReceiveResult result : {first, ReceiveResult::NoAnswer}) {
            link.send(identificationRequest(Protocol::Own, 0));
            const auto start = Clock::now();
            EXPECT_EQ(link.ReceiveFrame(ReceiveLimits{}, 9600, expected), result);
            EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 1.0);
            EXPECT_TRUE(link.port.lost());
            if (result == ReceiveResult::Received) {
                EXPECT_EQ(checkIdentificationAnswer(Protocol::Own, link.answer()), AnswerCheck::BadChecksum);
            }
        }
    }
}

TEST_F(Exchange, InterruptEndsTheWaitAtOnce)
{
    test::SimProcess sim({}, "fault request=* silent\n");
    Session session;
    configure(session, sim, 0);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        session.link.port.interrupt();
    });
    const auto [outcome, seconds] = timedConnect(session);
    stopper.join();
    EXPECT_FALSE(outcome.connected);
    EXPECT_FALSE(outcome.message) << "a stop is no failure to report";
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(session.devHandle(), Session::kInvalidHandle);
}

}  // namespace
}  // namespace orvanic
