// Our Modbus against libmodbus and mbpoll: they read the simulated device,
// and a libmodbus server answers the requests our builders make.

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <modbus.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "link/identification.h"
#include "link/modbus.h"
#include "link/value_codec.h"
#include "sim/record_values.h"
#include "support/run_program.h"
#include "support/sim_process.h"

namespace orvanic {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The description the simulator gives by default, in the device code page.
const std::string kDescription = std::string("1234|X-A40 1|W1|V1|T1|") + "\x74\xE0\xA0\xA1" + "|S|"
    + "\x8E\xA1\xE0\xEB\xA2" + "|" + "\x8F\xA5\xE0\xA5\xA3\xE0\xE3\xA7\xAA\xA0";
constexpr int kRegisters = 2 * 6 + 2;  // six fields: 2 x CountFields + 2

// A float as two registers, the low half first.
float registersToFloat(std::uint16_t low, std::uint16_t high)
{
    return DecodeFloat(static_cast<std::uint8_t>(high >> 8), static_cast<std::uint8_t>(high), static_cast<std::uint8_t>(low >> 8),
                       static_cast<std::uint8_t>(low));
}

class LibmodbusClient {
public:
    explicit LibmodbusClient(const std::string& port)
        : m_ctx(modbus_new_rtu(port.c_str(), 9600, 'N', 8, 1))
    {
        modbus_set_slave(m_ctx, 1);
        modbus_set_response_timeout(m_ctx, 2, 0);
        m_connected = modbus_connect(m_ctx) == 0;
    }
    ~LibmodbusClient()
    {
        modbus_close(m_ctx);
        modbus_free(m_ctx);
    }
    modbus_t* operator*() const { return m_ctx; }
    bool connected() const { return m_connected; }

    std::vector<std::uint16_t> read(int start, int count)
    {
        std::vector<std::uint16_t> regs(static_cast<std::size_t>(count));
        if (modbus_read_registers(m_ctx, start, count, regs.data()) != count)
            regs.clear();
        return regs;
    }

private:
    modbus_t* m_ctx;
    bool m_connected = false;
};

TEST(LibmodbusClient, ReadsTheSimulatedDevice)
{
    test::SimProcess sim({"--protocol", "modbus"}, "clock 29.02.2024 13:05:00\n");
    LibmodbusClient client(sim.portPath());
    ASSERT_TRUE(client.connected());

    // Report Slave ID: the description, first character in each register's low byte.
    std::uint8_t id[256] = {};
    const int n = modbus_report_slave_id(*client, sizeof id, id);
    ASSERT_EQ(n, static_cast<int>(kDescription.size() + 1));
    std::string text;
    for (int k = 0; k + 1 < n; k += 2) {
        text.push_back(static_cast<char>(id[k + 1]));
        text.push_back(static_cast<char>(id[k]));
    }
    EXPECT_EQ(text, kDescription + "|");

    const auto clock = client.read(0, 3);
    ASSERT_EQ(clock.size(), 3u);
    EXPECT_EQ(clock[0], (2 << 8) | 24);   // month, year
    EXPECT_EQ(clock[1], (13 << 8) | 29);  // hour, day
    EXPECT_EQ(clock[2] & 0xFF, 5);        // minute; the seconds run on

    const auto current = client.read(100, kRegisters);
    ASSERT_EQ(current.size(), std::size_t(kRegisters));
    for (int field = 1; field <= 3; ++field)
        EXPECT_EQ(registersToFloat(current[2 * field - 2], current[2 * field - 1]), sim::currentFieldValue(field, 0));
    EXPECT_EQ(registersToFloat(current[6], current[7]), static_cast<float>(sim::currentTimeCounter(0)));
    EXPECT_EQ(registersToFloat(current[8], current[9]), static_cast<float>(sim::currentStatus(0)));
    EXPECT_EQ(registersToFloat(current[10], current[11]), 13.0f) << "the hour of the request";
    EXPECT_EQ(registersToFloat(current[12], current[13]), sim::currentPollCounter(0));

    // Setting the clock: year 25, 01, day 31, month 12, minute 59, hour 23, FF, second 58.
    const std::uint16_t setClock[] = {(25 << 8) | 0x01, (31 << 8) | 12, (59 << 8) | 23, 0xFF00 | 58};
    ASSERT_EQ(modbus_write_registers(*client, 10, 4, setClock), 4);
    const auto after = client.read(0, 3);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0], (12 << 8) | 25);
    EXPECT_EQ(after[1], (23 << 8) | 31);

    // An archive record: select 13 h on 05.03.2017, then read it.
    const std::uint16_t period[] = {(17 << 8) | 0x0A, (5 << 8) | 3, 0xFF00 | 13};
    ASSERT_EQ(modbus_write_registers(*client, 10, 3, period), 3);
    const auto record = client.read(256, kRegisters);
    ASSERT_EQ(record.size(), std::size_t(kRegisters));
    const sim::ArchivePeriod p{17, 3, 5, 13};
    EXPECT_EQ(registersToFloat(record[0], record[1]), sim::archiveFieldValue(1, p));
    EXPECT_EQ(registersToFloat(record[12], record[13]), sim::archiveDateValue(p));

    EXPECT_TRUE(client.read(300, 2).empty());
    EXPECT_EQ(errno, EMBXILADD);
}

// A libmodbus server on one end of a pseudo-terminal pair; the test writes
// our requests to the other end.
class LibmodbusServer {
public:
    LibmodbusServer()
    {
        char name[64] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty");
        termios tio{};
        tcgetattr(m_master, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_master, TCSANOW, &tio);
        m_map = modbus_mapping_new(0, 0, 400, 0);
        for (int r = 0; r < 400; ++r)
            m_map->tab_registers[r] = static_cast<std::uint16_t>(0x1000 + r);
        m_ctx = modbus_new_rtu(name, 9600, 'N', 8, 1);
        modbus_set_slave(m_ctx, 1);
        if (modbus_connect(m_ctx) != 0)
            throw std::runtime_error("modbus_connect");
        m_thread = std::thread([this] {
            std::uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
            while (!m_stop) {
                modbus_set_indication_timeout(m_ctx, 0, 200000);
                const int rc = modbus_receive(m_ctx, query);
                if (rc > 0)
                    modbus_reply(m_ctx, query, rc, m_map);
            }
        });
    }
    ~LibmodbusServer()
    {
        m_stop = true;
        m_thread.join();
        modbus_close(m_ctx);
        modbus_free(m_ctx);
        modbus_mapping_free(m_map);
        ::close(m_master);
        ::close(m_slave);
    }

    std::uint16_t reg(int r) const { return m_map->tab_registers[r]; }

    // Sends a request and collects the answer until its length is known and reached.
    Bytes exchange(const Bytes& request)
    {
        if (::write(m_master, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
            return {};
        Bytes answer;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::size_t length = modbus::expectedAnswerLength(answer, request[1]);
            if (length != 0 && answer.size() >= length)
                break;
            pollfd pfd{m_master, POLLIN, 0};
            if (::poll(&pfd, 1, 50) <= 0)
                continue;
            std::uint8_t chunk[300];
            const ssize_t r = ::read(m_master, chunk, sizeof chunk);
            if (r > 0)
                answer.insert(answer.end(), chunk, chunk + r);
        }
        return answer;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    modbus_t* m_ctx = nullptr;
    modbus_mapping_t* m_map = nullptr;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST(LibmodbusServer, AnswersOurRequests)
{
    const Bytes archiveSelect = modbus::frame({1, 0x10, 0x00, 0x0A, 0x00, 0x03, 0x06, 0x11, 0x0A, 0x05, 0x03, 0xFF, 0x0D});
    EXPECT_EQ(archiveSelect, (Bytes{0x01, 0x10, 0x00, 0x0A, 0x00, 0x03, 0x06, 0x11, 0x0A, 0x05, 0x03, 0xFF, 0x0D, 0x2D, 0x19}));
    const Bytes setClock = modbus::frame({1, 0x10, 0x00, 0x0A, 0x00, 0x04, 0x08, 24, 0x01, 29, 2, 5, 13, 0xFF, 0});

    LibmodbusServer server;
    struct Read {
        std::uint16_t start;
        std::uint16_t count;
    };
    for (const Read r : {Read{100, kRegisters}, Read{20, kRegisters}, Read{0, 3}, Read{256, kRegisters}}) {
        const Bytes answer = server.exchange(modbus::readHoldingRegisters(1, r.start, r.count));
        ASSERT_EQ(answer.size(), 5u + 2 * r.count) << r.start;
        EXPECT_TRUE(modbus::checksumMatches(answer));
        EXPECT_EQ(answer[1], 0x03) << "no exception";
        for (int k = 0; k < r.count; ++k)
            EXPECT_EQ((answer[3 + 2 * k] << 8) | answer[4 + 2 * k], server.reg(r.start + k));
    }

    for (const Bytes& write : {archiveSelect, setClock}) {
        const Bytes answer = server.exchange(write);
        ASSERT_EQ(answer.size(), 8u);
        EXPECT_TRUE(modbus::checksumMatches(answer));
        EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 6), Bytes(write.begin(), write.begin() + 6));
    }
    EXPECT_EQ(server.reg(10), (24 << 8) | 0x01);
    EXPECT_EQ(server.reg(13), 0xFF00);

    // Report Slave ID: libmodbus answers with an identity of its own.
    const Bytes id = server.exchange(identificationRequest(Protocol::Modbus, 1));
    ASSERT_GE(id.size(), 5u);
    EXPECT_EQ(id[1], 0x11);
    EXPECT_EQ(id.size(), modbus::expectedAnswerLength(id, 0x11));
    EXPECT_TRUE(modbus::checksumMatches(id));
}

TEST(Mbpoll, ReadsTheSimulatedDevice)
{
    if (::access("/usr/bin/mbpoll", X_OK) != 0)
        GTEST_SKIP() << "mbpoll is not installed";
    test::SimProcess sim({"--protocol", "modbus"}, "clock 31.12.2023 23:59:00\n");
    test::TempDir dir;
    const auto clock = test::runProgram({"/usr/bin/mbpoll", "-m", "rtu", "-a", "1", "-b", "9600", "-P", "none", "-t", "4:hex",
                                         "-0", "-r", "0", "-c", "2", "-1", sim.portPath()},
                                        dir.path());
    EXPECT_EQ(clock.exitCode, 0) << clock.err;
    EXPECT_NE(clock.out.find("[0]: \t0x0C17"), std::string::npos) << clock.out;  // December, 23
    EXPECT_NE(clock.out.find("[1]: \t0x171F"), std::string::npos) << clock.out;  // 23 h, day 31

    const auto current = test::runProgram({"/usr/bin/mbpoll", "-m", "rtu", "-a", "1", "-b", "9600", "-P", "none", "-t", "4:float",
                                           "-0", "-r", "100", "-c", "3", "-1", sim.portPath()},
                                          dir.path());
    EXPECT_EQ(current.exitCode, 0) << current.err;
    EXPECT_NE(current.out.find("[100]: \t100"), std::string::npos) << current.out;
    EXPECT_NE(current.out.find("[102]: \t200"), std::string::npos) << current.out;
    EXPECT_NE(current.out.find("[104]: \t300"), std::string::npos) << current.out;
}

}  // namespace
}  // namespace orvanic
