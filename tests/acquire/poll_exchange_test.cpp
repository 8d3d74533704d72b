#include <gtest/gtest.h>

#include <cstring>

#include "acquire/poll_exchange.h"
#include "link/crc.h"
#include "link/modbus.h"

namespace orvanic {
namespace {

using Bytes = std::vector<std::uint8_t>;

TOrvanicStruct exampleDevice(const char* energyField = "W1 [ГДж]")
{
    TOrvanicStruct d;
    const char* fields[] = {"Дата и время", energyField, "V1 [м3]", "T1 [°С]", "tраб", "Статус"};
    for (const char* f : fields)
        d.NameFields[d.CountFields++] = ShortText::fromUtf8(f);
    d.StructStatus[0] = ShortText::fromUtf8("Обрыв");
    d.StructStatus[1] = ShortText::fromUtf8("Перегрузка");
    d.CountStatus = 2;
    return d;
}

void putFloat(Bytes& out, float v, bool modbusOrder)
{
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    const auto b0 = static_cast<std::uint8_t>(u >> 24), b1 = static_cast<std::uint8_t>(u >> 16);
    const auto b2 = static_cast<std::uint8_t>(u >> 8), b3 = static_cast<std::uint8_t>(u);
    if (modbusOrder)
        out.insert(out.end(), {b2, b3, b0, b1});
    else
        out.insert(out.end(), {b3, b2, b1, b0});
}

void putInt(Bytes& out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    out.insert(out.end(), {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)});
}

Bytes ownFrame(const Bytes& payload)
{
    Bytes f = {0x10, 0x01, 0x01, 0x01};
    for (std::uint8_t b : payload)
        f.push_back(b);
    f.insert(f.end(), {0x10, 0x03});
    const std::uint16_t crc = CRC16Str(std::span(f).subspan(2));
    f.insert(f.end(), {lowByte(crc), highByte(crc)});
    return f;
}

// W1, V1, T1 as floats, tраб as a counter, then the status.
Bytes ownAnswer(float w, std::int32_t work, std::int32_t status)
{
    Bytes p;
    putFloat(p, w, false);
    putFloat(p, 12.5f, false);
    putFloat(p, 0.1f, false);
    putInt(p, work);
    putInt(p, status);
    return ownFrame(p);
}

Bytes modbusAnswer(float w, float work, float status, int values = 7)
{
    Bytes body = {0x01, 0x03, static_cast<std::uint8_t>(4 * values)};
    const float all[] = {w, 12.5f, 0.1f, work, status, 14.0f, 3.0f};
    for (int i = 0; i < values; ++i)
        putFloat(body, all[i], true);
    return modbus::frame(body);
}

struct Decoded {
    RowKind kind;
    RowTexts texts;
};

Decoded decode(Protocol protocol, const Bytes& answer, std::uint8_t energy = 0, const TOrvanicStruct& d = exampleDevice())
{
    Decoded out{RowKind::Data, {}};
    out.texts[0] = "previous";
    out.texts[1] = "kept";
    out.kind = decodePollAnswer(protocol, answer, RecordContext{d, energy, ","}, "10.12.2026 20:45:12", out.texts);
    return out;
}

TEST(PollRequests, BothKindsBothProtocols)
{
    EXPECT_EQ(pollRequest(Protocol::Own, PollKind::Current, 1, 5), (Bytes{0x10, 0x60, 1, 1, 0x10, 0x01, 0x0B, 0x10, 0x03, 0x3C, 0x03}));
    EXPECT_EQ(pollRequest(Protocol::Own, PollKind::Screen, 1, 5), (Bytes{0x10, 0x60, 1, 1, 0x10, 0x01, 0x0C, 0x10, 0x03, 0x8D, 0xC2}));
    EXPECT_EQ(pollRequest(Protocol::Modbus, PollKind::Current, 1, 5), (Bytes{0x01, 0x03, 0x00, 0x64, 0x00, 0x0C, 0x04, 0x10}));
    EXPECT_EQ(pollRequest(Protocol::Modbus, PollKind::Screen, 1, 5), (Bytes{0x01, 0x03, 0x00, 0x14, 0x00, 0x0C, 0x05, 0xCB}));
}

TEST(PollAnswers, DataRowsOfBothProtocols)
{
    const Decoded own = decode(Protocol::Own, ownAnswer(100.0f, 12345, 2));
    ASSERT_EQ(own.kind, RowKind::Data);
    EXPECT_EQ(own.texts[0], "10.12.2026 20:45:12");
    EXPECT_EQ((std::vector<std::string>(own.texts.begin() + 1, own.texts.begin() + 6)),
              (std::vector<std::string>{"100", "12,5", "0,100000001490116", "34:17:30", "Перегрузка"}));

    const Decoded modbus = decode(Protocol::Modbus, modbusAnswer(100.0f, 12345.0f, 3.0f));
    ASSERT_EQ(modbus.kind, RowKind::Data);
    EXPECT_EQ((std::vector<std::string>(modbus.texts.begin() + 1, modbus.texts.begin() + 8)),
              (std::vector<std::string>{"100", "12,5", "0,100000001490116", "34:17:30", "Обрыв, Перегрузка", "14", "3"}));

    // A longer own answer is read from the front.
    Bytes longer = ownAnswer(1.0f, 0, 0);
    longer.insert(longer.end() - 4, {1, 2, 3, 4});
    const std::uint16_t crc = CRC16Str(std::span(longer).subspan(2, longer.size() - 4));
    longer[longer.size() - 2] = lowByte(crc);
    longer[longer.size() - 1] = highByte(crc);
    EXPECT_EQ(decode(Protocol::Own, longer).kind, RowKind::Data);
}

TEST(PollAnswers, GigacaloriesScaleOnlyEnergyFields)
{
    for (const char* field : {"H1 [Гкал]", "W1 [Гкал]"}) {
        const TOrvanicStruct d = exampleDevice(field);
        EXPECT_EQ(decode(Protocol::Own, ownAnswer(100.0f, 0, 0), 1, d).texts[1], "23,8845996856689") << field;
        EXPECT_EQ(decode(Protocol::Modbus, modbusAnswer(100.0f, 0, 0), 1, d).texts[1], "23,8845996856689") << field;
    }
    const Decoded scaled = decode(Protocol::Modbus, modbusAnswer(100.0f, 360.0f, 0), 1);
    EXPECT_EQ(scaled.texts[2], "12,5") << "V fields are not energy";
    EXPECT_EQ(scaled.texts[4], "01:00:00");
    EXPECT_EQ(scaled.texts[6], "14") << "the extra columns are never scaled";
    EXPECT_EQ(decode(Protocol::Own, ownAnswer(100.0f, 0, 0), 0).texts[1], "100");
}

TEST(PollAnswers, ErrorRows)
{
    struct Case {
        const char* name;
        Protocol protocol;
        Bytes answer;
        RowKind kind;
        std::string caption;
    };
    Bytes badCrc = ownAnswer(1.0f, 1, 0);
    badCrc.back() ^= 0xFF;
    Bytes modbusBadCrc = modbusAnswer(1.0f, 1.0f, 0.0f);
    modbusBadCrc[4] ^= 0x01;
    Bytes lyingCount = modbusAnswer(1.0f, 1.0f, 0.0f, 3);
    lyingCount[2] = 28;  // claims all seven values, carries three
    lyingCount = modbus::frame(Bytes(lyingCount.begin(), lyingCount.end() - 2));
    const Case cases[] = {
        {"own checksum", Protocol::Own, badCrc, RowKind::CrcError, "Ошибка CRC"},
        {"own too short", Protocol::Own, Bytes{0x10, 0x01, 0x10, 0x03}, RowKind::CrcError, "Ошибка CRC"},
        {"own empty", Protocol::Own, Bytes{}, RowKind::CrcError, "Ошибка CRC"},
        {"own no data", Protocol::Own, ownFrame({0x00}), RowKind::NoData, " - данные отсутствуют"},
        {"own 9 bytes unmarked", Protocol::Own, [] { Bytes b = ownFrame({0x00}); b[1] = 0x02; b[8] = 0; b[7] = 0;
             const std::uint16_t c = CRC16Str(std::span(b).subspan(2, 5)); b[7] = lowByte(c); b[8] = highByte(c); return b; }(),
         RowKind::Unchanged, "previous"},
        {"own one value short", Protocol::Own, ownFrame(Bytes(16, 0)), RowKind::StructureError, " - Ошибка структуры данных"},
        {"modbus checksum", Protocol::Modbus, modbusBadCrc, RowKind::CrcError, "Ошибка CRC"},
        {"modbus too short", Protocol::Modbus, Bytes{0x01, 0x03, 0x00, 0x20}, RowKind::CrcError, "Ошибка CRC"},
        {"modbus one value short", Protocol::Modbus, modbusAnswer(1.0f, 1.0f, 0.0f, 6), RowKind::StructureError, " - Ошибка структуры данных"},
        {"modbus count past the frame", Protocol::Modbus, lyingCount, RowKind::StructureError, " - Ошибка структуры данных"},
        {"modbus exception", Protocol::Modbus, modbus::frame({0x01, 0x83, 0x02}), RowKind::StructureError, " - Ошибка структуры данных"},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(c.protocol, c.answer);
        EXPECT_EQ(d.kind, c.kind) << c.name;
        EXPECT_EQ(d.texts[0], c.caption) << c.name;
        EXPECT_EQ(d.texts[1], "kept") << c.name << ": an error row changes no value";
    }
}

TEST(PollAnswers, ModbusCountersBeyondCountingShowAsNumbers)
{
    // Modbus sends time counters and the status word as singles, which may
    // hold anything; no count reaches 10^18.
    struct Case {
        float work, status;
        std::string workText, statusText;
    };
    const Case cases[] = {
        {1e30f, 1e20f, "1,00000001504747E30", "1,00000002004088E20"},
        {-1e19f, -3.4e38f, "-9,99999998050645E18", "-3,39999995214436E38"},
    };
    for (const Case& c : cases) {
        const Decoded row = decode(Protocol::Modbus, modbusAnswer(1.0f, c.work, c.status));
        ASSERT_EQ(row.kind, RowKind::Data);
        EXPECT_EQ(row.texts[4], c.workText);
        EXPECT_EQ(row.texts[5], c.statusText);
    }
}

TEST(PollAnswers, ModbusDeviceWithoutFieldsReadsOnlyItsAnswer)
{
    // Only the date column: the poll asks 4 registers, the status and one
    // extra value; the second extra column has nothing to read.
    TOrvanicStruct d;
    d.NameFields[d.CountFields++] = ShortText::fromUtf8("Дата и время");
    Bytes body = {0x01, 0x03, 0x08};
    putFloat(body, 0.0f, true);
    putFloat(body, 14.0f, true);
    const Bytes answer = modbus::frame(body);
    // What lies past the answer in the receive buffer must not show.
    Bytes buffer = answer;
    putFloat(buffer, 99.0f, true);
    putFloat(buffer, 99.0f, true);

    RowTexts texts{};
    texts[3] = "kept";
    const RecordContext context{d, 0, ","};
    ASSERT_EQ(decodePollAnswer(Protocol::Modbus, std::span(buffer).first(answer.size()), context, "10.12.2026 20:45:12", texts),
              RowKind::Data);
    EXPECT_EQ(texts[1], "");
    EXPECT_EQ(texts[2], "14");
    EXPECT_EQ(texts[3], "kept");
}

TEST(TableRows, DataCaptionsAndIcons)
{
    EXPECT_TRUE(isDataRowCaption("10.12.2026 20:45:12", 20));
    EXPECT_FALSE(isDataRowCaption("10.12.2026 20:45:12 ", 20));
    EXPECT_FALSE(isDataRowCaption("Ошибка CRC", 20));
    EXPECT_FALSE(isDataRowCaption(" - данные отсутствуют", 20));
    EXPECT_TRUE(isDataRowCaption("07:05.03.2017", 14));
    EXPECT_FALSE(isDataRowCaption("07:05.03.2017 - данные отсутствуют", 14));

    const SpecialFieldIndexes indexes{5, 2, 6};
    RowTexts texts{};
    texts[4] = "01:00:00";
    EXPECT_EQ(dataRowIcon(texts, indexes), RowIcon::Ok);
    texts[5] = "Обрыв";
    EXPECT_EQ(dataRowIcon(texts, indexes), RowIcon::Plain);
    texts[4] = "00:00:00";
    EXPECT_EQ(dataRowIcon(texts, indexes), RowIcon::Stopped) << "a stopped meter, whatever the status";
}

}  // namespace
}  // namespace orvanic
