// Our Modbus against implementations we did not write: libmodbus and mbpoll
// read the simulated device, and a libmodbus server answers the requests
// our builders make. Both sides agreeing with a third party is what tells a
// shared misreading apart from a correct one.

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <modbus.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <regex>
#include <stdexcept>
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
using Registers = std::vector<std::uint16_t>;
using std::chrono::steady_clock;

// The simulator's default description in the device code page: "tраб",
// "Обрыв" and "Перегрузка" carry its Cyrillic letters.
const std::string kDescription = std::string("1234|X-A40 1|W1|V1|T1|") + "\x74\xE0\xA0\xA1" + "|S|"
    + "\x8E\xA1\xE0\xEB\xA2" + "|" + "\x8F\xA5\xE0\xA5\xA3\xE0\xE3\xA7\xAA\xA0";
// 45 characters: the last register is filled up with '|'.
const std::string kDescriptionRegisters = kDescription + "|";

// W1, V1, T1, tраб, the status and two extras, one float in two registers each.
constexpr int kRecordFloats = 7;
constexpr int kRecordRegisters = 2 * kRecordFloats;

constexpr std::uint16_t kClockStart = 0;
constexpr std::uint16_t kScreenStart = 20;
constexpr std::uint16_t kCurrentStart = 100;
constexpr std::uint16_t kArchiveStart = 256;
constexpr std::uint16_t kWriteStart = 10;

// The register bytes with each pair swapped: the device puts the first
// character of a register into its low byte.
std::string swapPairs(std::string_view bytes)
{
    std::string out(bytes);
    for (std::size_t k = 0; k + 1 < out.size(); k += 2)
        std::swap(out[k], out[k + 1]);
    return out;
}

// A device float travels as B2 B3 B0 B1: the low register first.
std::vector<float> registersToFloats(const Registers& regs)
{
    std::vector<float> values;
    for (std::size_t k = 0; k + 1 < regs.size(); k += 2) {
        const std::uint16_t low = regs[k];
        const std::uint16_t high = regs[k + 1];
        values.push_back(DecodeFloat(static_cast<std::uint8_t>(high >> 8), static_cast<std::uint8_t>(high),
                                     static_cast<std::uint8_t>(low >> 8), static_cast<std::uint8_t>(low)));
    }
    return values;
}

std::vector<float> currentRecord(std::uint32_t n, int hour)
{
    return {sim::currentFieldValue(1, n), sim::currentFieldValue(2, n), sim::currentFieldValue(3, n),
            static_cast<float>(sim::currentTimeCounter(n)), static_cast<float>(sim::currentStatus(n)),
            static_cast<float>(hour), sim::currentPollCounter(n)};
}

std::vector<float> screenRecord(std::uint32_t m, int hour)
{
    return {sim::screenFieldValue(1, m), sim::screenFieldValue(2, m), sim::screenFieldValue(3, m),
            static_cast<float>(sim::screenTimeCounter(m)), static_cast<float>(sim::screenStatus(m)),
            static_cast<float>(hour), sim::screenPollCounter(m)};
}

std::vector<float> archiveRecord(const sim::ArchivePeriod& p)
{
    return {sim::archiveFieldValue(1, p), sim::archiveFieldValue(2, p), sim::archiveFieldValue(3, p),
            static_cast<float>(sim::archiveTimeCounter(p)), static_cast<float>(sim::archiveStatus(p)),
            sim::archiveHourValue(p), sim::archiveDateValue(p)};
}

std::uint16_t word(int high, int low) { return static_cast<std::uint16_t>(((high & 0xFF) << 8) | (low & 0xFF)); }

// ---------------------------------------------------------------------------
// libmodbus as the master, orvanic-sim as the device.

class LibmodbusClient {
public:
    explicit LibmodbusClient(const std::string& port)
        : m_ctx(modbus_new_rtu(port.c_str(), 9600, 'N', 8, 1))
    {
        if (m_ctx == nullptr)
            throw std::runtime_error("modbus_new_rtu");
        modbus_set_slave(m_ctx, 1);
        modbus_set_response_timeout(m_ctx, 2, 0);
        if (modbus_connect(m_ctx) != 0) {
            modbus_free(m_ctx);
            throw std::runtime_error("modbus_connect " + port);
        }
    }
    ~LibmodbusClient()
    {
        modbus_close(m_ctx);
        modbus_free(m_ctx);
    }
    LibmodbusClient(const LibmodbusClient&) = delete;
    LibmodbusClient& operator=(const LibmodbusClient&) = delete;

    modbus_t* get() const { return m_ctx; }

    // Empty when libmodbus reports a failure; errno tells which.
    Registers read(int start, int count)
    {
        Registers regs(static_cast<std::size_t>(count));
        if (modbus_read_registers(m_ctx, start, count, regs.data()) != count)
            regs.clear();
        return regs;
    }

    bool write(int start, const Registers& regs)
    {
        return modbus_write_registers(m_ctx, start, static_cast<int>(regs.size()), regs.data())
            == static_cast<int>(regs.size());
    }

private:
    modbus_t* m_ctx;
};

// The device paces its answers at the line speed, as a real one would, so
// libmodbus has to gather them the way it does from a serial port.
struct SimWithLibmodbus {
    explicit SimWithLibmodbus(std::string_view scenario = {})
        : sim({"--protocol", "modbus", "--speed", "9600", "--pace"}, scenario)
        , client(sim.portPath())
    {
    }
    test::SimProcess sim;
    LibmodbusClient client;
};

TEST(LibmodbusClient, ReportSlaveIdGivesTheDescriptionLowByteFirst)
{
    SimWithLibmodbus s;
    std::uint8_t id[MODBUS_MAX_PDU_LENGTH] = {};
    const int n = modbus_report_slave_id(s.client.get(), sizeof id, id);
    ASSERT_EQ(n, static_cast<int>(kDescriptionRegisters.size())) << modbus_strerror(errno);
    EXPECT_EQ(swapPairs(std::string(reinterpret_cast<const char*>(id), static_cast<std::size_t>(n))),
              kDescriptionRegisters);
}

TEST(LibmodbusClient, ReadsAndSetsTheClock)
{
    const auto started = steady_clock::now();
    SimWithLibmodbus s("clock 29.02.2024 13:05:00\n");
    // The device clock runs from the simulator's start.
    const auto secondsSinceStart = [&] {
        return static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(steady_clock::now() - started).count()) + 1;
    };

    const Registers clock = s.client.read(kClockStart, 3);
    ASSERT_EQ(clock.size(), 3u) << modbus_strerror(errno);
    EXPECT_EQ(clock[0], word(2, 24));   // month, year
    EXPECT_EQ(clock[1], word(13, 29));  // hour, day
    EXPECT_EQ(clock[2] & 0xFF, 5);      // minute
    EXPECT_LE(clock[2] >> 8, secondsSinceStart());

    // A master may start inside the clock block; it gets the same registers.
    for (const int start : {1, 2}) {
        SCOPED_TRACE(start);
        Registers tail = s.client.read(start, 3 - start);
        ASSERT_EQ(tail.size(), std::size_t(3 - start)) << modbus_strerror(errno);
        Registers expected(clock.begin() + start, clock.end());
        // The seconds may have moved on since.
        tail.back() &= 0x00FF;
        expected.back() &= 0x00FF;
        EXPECT_EQ(tail, expected);
    }

    // Every field differs from the others, so a swapped pair shows: 17.11.2025 21:42:07.
    const auto setAt = steady_clock::now();
    ASSERT_TRUE(s.client.write(kWriteStart, {word(25, 0x01), word(17, 11), word(42, 21), word(0xFF, 7)}))
        << modbus_strerror(errno);
    const Registers after = s.client.read(kClockStart, 3);
    ASSERT_EQ(after.size(), 3u) << modbus_strerror(errno);
    EXPECT_EQ(after[0], word(11, 25));
    EXPECT_EQ(after[1], word(21, 17));
    EXPECT_EQ(after[2] & 0xFF, 42);
    const int runOn = static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(steady_clock::now() - setAt).count()) + 1;
    EXPECT_GE(after[2] >> 8, 7);
    EXPECT_LE(after[2] >> 8, 7 + runOn);

    // The current data's first extra is the hour of the device clock.
    const Registers current = s.client.read(kCurrentStart, kRecordRegisters);
    ASSERT_EQ(current.size(), std::size_t(kRecordRegisters)) << modbus_strerror(errno);
    EXPECT_EQ(registersToFloats(current)[5], 21.0f);
}

TEST(LibmodbusClient, CurrentAndScreenDataFollowTheirOwnPollCounts)
{
    SimWithLibmodbus s("clock 29.02.2024 13:05:00\n");
    struct Poll {
        std::uint16_t start;
        std::vector<float> expected;
    };
    // Interleaved, so one kind of poll moving the other's counter shows.
    const Poll polls[] = {
        {kCurrentStart, currentRecord(0, 13)},
        {kScreenStart, screenRecord(0, 13)},
        {kCurrentStart, currentRecord(1, 13)},
        {kCurrentStart, currentRecord(2, 13)},
        {kScreenStart, screenRecord(1, 13)},
    };
    int k = 0;
    for (const Poll& poll : polls) {
        SCOPED_TRACE(testing::Message() << "poll " << k++ << " at " << poll.start);
        const Registers regs = s.client.read(poll.start, kRecordRegisters);
        ASSERT_EQ(regs.size(), std::size_t(kRecordRegisters)) << modbus_strerror(errno);
        EXPECT_EQ(registersToFloats(regs), poll.expected);
    }
}

TEST(LibmodbusClient, ReadsTheArchiveRecordOfTheSelectedPeriod)
{
    SimWithLibmodbus s;
    constexpr int whole = sim::kWholePeriod;
    const sim::ArchivePeriod periods[] = {
        {17, 3, 5, 13},       // an hour; day 5 raises the status
        {24, 2, 29, whole},   // a day
        {23, 12, whole, whole},  // a month
        {20, 1, 13, 7},       // day 13 has no running time
        {99, 10, 31, 23},     // every field at its top
    };
    for (const sim::ArchivePeriod& p : periods) {
        SCOPED_TRACE(testing::Message() << p.year << '-' << p.month << '-' << p.day << ' ' << p.hour);
        ASSERT_TRUE(s.client.write(kWriteStart, {word(p.year, 0x0A), word(p.day, p.month), word(0xFF, p.hour)}))
            << modbus_strerror(errno);
        const Registers regs = s.client.read(kArchiveStart, kRecordRegisters);
        ASSERT_EQ(regs.size(), std::size_t(kRecordRegisters)) << modbus_strerror(errno);
        EXPECT_EQ(registersToFloats(regs), archiveRecord(p));
    }
}

TEST(LibmodbusClient, RequestsTheDeviceDoesNotServeGiveExceptions)
{
    SimWithLibmodbus s;
    std::uint16_t regs[4] = {};
    struct Case {
        const char* what;
        std::function<int(modbus_t*)> call;
        int error;
    };
    const Case cases[] = {
        // First, while no period has been chosen.
        {"archive before a period is selected", [&](modbus_t* c) { return modbus_read_registers(c, kArchiveStart, 14, regs); },
         EMBXILADD},
        {"unknown register start", [&](modbus_t* c) { return modbus_read_registers(c, 300, 2, regs); }, EMBXILADD},
        {"start between the blocks", [&](modbus_t* c) { return modbus_read_registers(c, 101, 2, regs); }, EMBXILADD},
        {"write at the wrong register",
         [](modbus_t* c) {
             const std::uint16_t v[4] = {word(25, 0x01), word(17, 11), word(42, 21), word(0xFF, 7)};
             return modbus_write_registers(c, 11, 4, v);
         },
         EMBXILADD},
        {"write with an unknown command byte",
         [](modbus_t* c) {
             const std::uint16_t v[4] = {word(25, 0x02), word(17, 11), word(42, 21), word(0xFF, 7)};
             return modbus_write_registers(c, kWriteStart, 4, v);
         },
         EMBXILADD},
        {"clock command with three registers",
         [](modbus_t* c) {
             const std::uint16_t v[3] = {word(25, 0x01), word(17, 11), word(42, 21)};
             return modbus_write_registers(c, kWriteStart, 3, v);
         },
         EMBXILADD},
        {"input registers", [&](modbus_t* c) { return modbus_read_input_registers(c, 0, 3, regs); }, EMBXILFUN},
        {"write single register", [](modbus_t* c) { return modbus_write_register(c, kWriteStart, 1); }, EMBXILFUN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        errno = 0;
        EXPECT_EQ(c.call(s.client.get()), -1);
        EXPECT_EQ(errno, c.error) << modbus_strerror(errno);
    }
    // Nothing of that upset the device.
    EXPECT_EQ(s.client.read(kClockStart, 3).size(), 3u) << modbus_strerror(errno);
}

// ---------------------------------------------------------------------------
// libmodbus as the device, our request builders as the master.

// A libmodbus server on the slave end of a pseudo-terminal pair; the test
// writes to the master end.
class LibmodbusServer {
public:
    static constexpr int kRegisterCount = 400;

    LibmodbusServer()
    {
        char name[64] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty");
        termios tio{};
        tcgetattr(m_master, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_master, TCSANOW, &tio);

        m_map = modbus_mapping_new(0, 0, kRegisterCount, 0);
        for (int r = 0; r < kRegisterCount; ++r)
            m_map->tab_registers[r] = initialValue(r);
        m_ctx = modbus_new_rtu(name, 9600, 'N', 8, 1);
        modbus_set_slave(m_ctx, 1);
        if (m_map == nullptr || m_ctx == nullptr || modbus_connect(m_ctx) != 0)
            throw std::runtime_error("libmodbus server on " + std::string(name));
        // A short wait so that the loop notices the stop request soon.
        modbus_set_indication_timeout(m_ctx, 0, 100000);
        m_thread = std::thread([this] {
            std::uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
            while (!m_stop) {
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
    LibmodbusServer(const LibmodbusServer&) = delete;
    LibmodbusServer& operator=(const LibmodbusServer&) = delete;

    // High and low bytes differ and each register is unique, so byte order
    // and offset faults show.
    static std::uint16_t initialValue(int r) { return static_cast<std::uint16_t>(0xA000 + r); }
    std::uint16_t reg(int r) const { return m_map->tab_registers[r]; }

    // Sends the request and gathers the answer until modbus::expectedAnswerLength is reached.
    Bytes exchange(const Bytes& request)
    {
        if (::write(m_master, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
            return {};
        Bytes answer;
        const auto deadline = steady_clock::now() + std::chrono::seconds(2);
        for (;;) {
            const std::size_t length = modbus::expectedAnswerLength(answer, request[1]);
            if (length != 0 && answer.size() >= length)
                return answer;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady_clock::now()).count();
            if (left <= 0)
                return answer;
            pollfd pfd{m_master, POLLIN, 0};
            if (::poll(&pfd, 1, static_cast<int>(left)) <= 0)
                continue;
            std::uint8_t chunk[MODBUS_RTU_MAX_ADU_LENGTH];
            const ssize_t r = ::read(m_master, chunk, sizeof chunk);
            if (r > 0)
                answer.insert(answer.end(), chunk, chunk + r);
        }
    }

private:
    int m_master = -1;
    int m_slave = -1;
    modbus_t* m_ctx = nullptr;
    modbus_mapping_t* m_map = nullptr;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST(LibmodbusServer, TheArchiveSelectFrameHasTheKnownChecksum)
{
    EXPECT_EQ(modbus::frame({0x01, 0x10, 0x00, 0x0A, 0x00, 0x03, 0x06, 0x11, 0x0A, 0x05, 0x03, 0xFF, 0x0D}),
              (Bytes{0x01, 0x10, 0x00, 0x0A, 0x00, 0x03, 0x06, 0x11, 0x0A, 0x05, 0x03, 0xFF, 0x0D, 0x2D, 0x19}));
}

TEST(LibmodbusServer, AnswersOurReadAndWriteRequests)
{
    LibmodbusServer server;
    struct Case {
        const char* what;
        Bytes request;
        std::uint16_t start;
        Registers expected;  // a read: what it returns; a write: what the server then holds
        bool exception = false;
    };
    const auto mapped = [](int start, int count) {
        Registers regs;
        for (int r = start; r < start + count; ++r)
            regs.push_back(LibmodbusServer::initialValue(r));
        return regs;
    };
    const Case cases[] = {
        {"current data", modbus::readHoldingRegisters(1, kCurrentStart, kRecordRegisters), kCurrentStart,
         mapped(kCurrentStart, kRecordRegisters)},
        {"screen data", modbus::readHoldingRegisters(1, kScreenStart, kRecordRegisters), kScreenStart,
         mapped(kScreenStart, kRecordRegisters)},
        {"clock", modbus::readHoldingRegisters(1, kClockStart, 3), kClockStart, mapped(kClockStart, 3)},
        // The start's high byte is not zero here.
        {"archive record", modbus::readHoldingRegisters(1, kArchiveStart, kRecordRegisters), kArchiveStart,
         mapped(kArchiveStart, kRecordRegisters)},
        {"past the server's registers", modbus::readHoldingRegisters(1, 390, kRecordRegisters), 390, {}, true},
        // Hour 13 of 05.03.2017.
        {"select archive period", modbus::frame({0x01, 0x10, 0x00, 0x0A, 0x00, 0x03, 0x06, 0x11, 0x0A, 0x05, 0x03, 0xFF, 0x0D}),
         kWriteStart, {word(17, 0x0A), word(5, 3), word(0xFF, 13)}},
        // 29.02.2024 13:05:00, over the same registers and one more.
        {"set clock", modbus::frame({1, 0x10, 0x00, 0x0A, 0x00, 0x04, 0x08, 24, 0x01, 29, 2, 5, 13, 0xFF, 0}),
         kWriteStart, {word(24, 0x01), word(29, 2), word(5, 13), word(0xFF, 0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint8_t function = c.request[1];
        const Bytes answer = server.exchange(c.request);
        ASSERT_GE(answer.size(), modbus::kMinAnswerLength) << "no answer in time";
        EXPECT_EQ(answer.size(), modbus::expectedAnswerLength(answer, function));
        EXPECT_TRUE(modbus::checksumMatches(answer));
        EXPECT_EQ(answer[0], 1);
        if (c.exception) {
            EXPECT_EQ(answer[1], function | modbus::kExceptionFlag);
            EXPECT_EQ(answer[2], MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
            continue;
        }
        ASSERT_EQ(answer[1], function) << "exception " << int(answer[2]);
        if (function == modbus::kReadHoldingRegisters) {
            ASSERT_EQ(answer.size(), 5 + 2 * c.expected.size());
            Registers got;
            for (std::size_t k = 0; k < c.expected.size(); ++k)
                got.push_back(word(answer[3 + 2 * k], answer[4 + 2 * k]));
            EXPECT_EQ(got, c.expected);
        } else {
            // The echo of start and count.
            EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 6), Bytes(c.request.begin(), c.request.begin() + 6));
            Registers held;
            for (std::size_t k = 0; k < c.expected.size(); ++k)
                held.push_back(server.reg(c.start + static_cast<int>(k)));
            EXPECT_EQ(held, c.expected);
            EXPECT_EQ(server.reg(c.start + static_cast<int>(c.expected.size())),
                      LibmodbusServer::initialValue(c.start + static_cast<int>(c.expected.size())))
                << "wrote past its registers";
        }
    }
}

TEST(LibmodbusServer, AnswersOurIdentificationRequest)
{
    LibmodbusServer server;
    const Bytes answer = server.exchange(identificationRequest(Protocol::Modbus, 1));
    ASSERT_GE(answer.size(), modbus::kMinAnswerLength) << "no answer in time";
    EXPECT_EQ(answer[1], modbus::kReportSlaveId);
    EXPECT_EQ(answer.size(), modbus::expectedAnswerLength(answer, modbus::kReportSlaveId));
    EXPECT_TRUE(modbus::checksumMatches(answer));
    EXPECT_EQ(checkIdentificationAnswer(Protocol::Modbus, answer), AnswerCheck::Good);
    // libmodbus sends its id 0xB4, "run" 0xFF and its name; we read that as
    // registers with the first character low, so the pairs come out swapped.
    const std::string libmodbusId = std::string("\xB4\xFF") + "LMB" + LIBMODBUS_VERSION_STRING;
    ASSERT_EQ(libmodbusId.size() % 2, 0u) << "this libmodbus gives an odd id length; pick another check";
    EXPECT_EQ(descriptionBytes(Protocol::Modbus, answer), swapPairs(libmodbusId));
}

// ---------------------------------------------------------------------------
// mbpoll, a command-line master built on libmodbus, against orvanic-sim.

std::optional<std::string> findOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "";
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const std::string dir(dirs.substr(0, colon));
        dirs = colon == std::string_view::npos ? std::string_view{} : dirs.substr(colon + 1);
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

// How mbpoll shows bytes it cannot print.
std::string mbpollBytes(std::string_view bytes)
{
    std::string out;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F) {
            out.push_back(ch);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "\\%02X", b);
            out += hex;
        }
    }
    return out;
}

std::string regexQuote(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        if (std::string_view(R"(\^$.|?*+()[]{})").find(ch) != std::string_view::npos)
            out.push_back('\\');
        out.push_back(ch);
    }
    return out;
}

TEST(Mbpoll, ReadsTheSimulatedDevice)
{
    const std::optional<std::string> mbpoll = findOnPath("mbpoll");
    if (!mbpoll)
        GTEST_SKIP() << "mbpoll is not on the PATH";
    test::SimProcess sim({"--protocol", "modbus"}, "clock 31.12.2023 23:59:00\n");
    test::TempDir dir;
    const std::vector<std::string> rtu = {*mbpoll, "-m", "rtu", "-a", "1", "-b", "9600", "-P", "none", "-d", "8", "-s", "1", "-1"};

    // mbpoll's registers count from 1 unless -0 is given.
    // Report Slave ID: mbpoll takes the first two bytes for id and run status.
    const std::string id = swapPairs(kDescriptionRegisters);
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::vector<std::string> lines;  // regular expressions, each matching a whole line
    };
    const Case cases[] = {
        {"clock, counted from 1",
         {"-t", "4:hex", "-r", "1", "-c", "3"},
         {R"(\[1\]:\s+0x0C17)", R"(\[2\]:\s+0x171F)", R"(\[3\]:\s+0x0[0-4]3B)"}},  // seconds run on
        {"current data as floats, counted from 0",
         {"-t", "4:float", "-0", "-r", "100", "-c", "7"},
         {R"(\[100\]:\s+100)", R"(\[102\]:\s+200)", R"(\[104\]:\s+300)", R"(\[106\]:\s+360)", R"(\[108\]:\s+0)",
          R"(\[110\]:\s+23)", R"(\[112\]:\s+0)"}},
        {"report slave id",
         {"-u"},
         {R"(Length:\s*46)", R"(Id\s*:\s*0x32)", R"(Status:\s*On)", R"(Data\s*:\s*)" + regexQuote(mbpollBytes(id.substr(2)))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = rtu;
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(sim.portPath());
        const test::ProgramResult r = test::runProgram(args, dir.path());
        EXPECT_EQ(r.exitCode, 0) << r.err;
        for (const std::string& line : c.lines) {
            const std::regex pattern("(^|\n)" + line + "\\s*(\n|$)");
            EXPECT_TRUE(std::regex_search(r.out, pattern)) << "no line " << line << " in:\n" << r.out;
        }
    }

    const test::ProgramResult bad = test::runProgram(
        [&] {
            auto args = rtu;
            args.insert(args.end(), {"-0", "-r", "300", "-c", "2", sim.portPath()});
            return args;
        }(),
        dir.path());
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("Illegal data address"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace orvanic
