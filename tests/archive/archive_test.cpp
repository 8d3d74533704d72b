#include <gtest/gtest.h>

#include <cstring>

#include "archive/archive_exchange.h"
#include "link/crc.h"
#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {
namespace {

using Bytes = std::vector<std::uint8_t>;

ArchiveWalk hourlyAt(int day, int month, int year, int hour)
{
    return startArchiveWalk(ArchiveType::Hourly, {year, month, day}, {year, month, day}, hour, 23);
}

// Walks to the end and collects the captions of every period asked.
std::vector<std::string> walkAll(ArchiveWalk w, std::vector<std::uint8_t>* days = nullptr)
{
    std::vector<std::string> captions;
    for (int guard = 0; guard < 100000; ++guard) {
        captions.push_back(periodText(w));
        if (days)
            days->push_back(w.arcDay);
        if (afterArchiveExchange(w, false) == WalkStep::Finished)
            return captions;
    }
    ADD_FAILURE() << "the walk never ends";
    return captions;
}

TEST(ArchiveRequests, OwnWithDoubledBytesAndModbus)
{
    EXPECT_EQ(ownArchiveRequest(1, hourlyAt(5, 3, 2017, 13)),
              (Bytes{0x10, 0x60, 0x01, 0x01, 0x10, 0x01, 0x0A, 0x11, 0x03, 0x05, 0x0D, 0x10, 0x03, 0x31, 0x8F}));
    EXPECT_EQ(modbusArchiveSelect(1, hourlyAt(5, 3, 2017, 13)),
              (Bytes{0x01, 0x10, 0x00, 0x0A, 0x00, 0x03, 0x06, 0x11, 0x0A, 0x05, 0x03, 0xFF, 0x0D, 0x2D, 0x19}));
    EXPECT_EQ(modbusArchiveRead(1, 6), modbus::frame({0x01, 0x03, 0x01, 0x00, 0x00, 14}));

    const Bytes day16 = ownArchiveRequest(1, startArchiveWalk(ArchiveType::Daily, {2017, 3, 16}, {2017, 3, 16}, 0, 0));
    ASSERT_EQ(day16.size(), 16u);
    EXPECT_EQ(Bytes(day16.begin() + 7, day16.begin() + 12), (Bytes{0x11, 0x03, 0x10, 0x10, 0xFF}));

    // 16 h on 16.03.2016: year, day and hour doubled; the checksum is the
    // one of the single bytes.
    const Bytes three = ownArchiveRequest(1, hourlyAt(16, 3, 2016, 16));
    ASSERT_EQ(three.size(), 18u);
    EXPECT_EQ(Bytes(three.begin() + 7, three.begin() + 14), (Bytes{0x10, 0x10, 0x03, 0x10, 0x10, 0x10, 0x10}));
    const Bytes single = {0x0A, 0x10, 0x03, 0x10, 0x10, 0x10, 0x03};
    const std::uint16_t crc = CRC16Str(single);
    EXPECT_EQ(three[16], lowByte(crc));
    EXPECT_EQ(three[17], highByte(crc));
}

TEST(ArchiveWalk, Ranges)
{
    const auto day = walkAll(startArchiveWalk(ArchiveType::Hourly, {2017, 3, 5}, {2017, 3, 5}, 0, 23));
    ASSERT_EQ(day.size(), 24u);
    EXPECT_EQ(day.front(), "00:05.03.2017");
    EXPECT_EQ(day.back(), "23:05.03.2017");

    EXPECT_EQ(walkAll(startArchiveWalk(ArchiveType::Daily, {2017, 3, 5}, {2017, 3, 1}, 0, 0)),
              std::vector<std::string>{"05.03.2017"}) << "a reversed range asks once";
    EXPECT_EQ(walkAll(startArchiveWalk(ArchiveType::Hourly, {2017, 3, 5}, {2017, 3, 5}, 10, 5)),
              std::vector<std::string>{"10:05.03.2017"});
    EXPECT_EQ(walkAll(startArchiveWalk(ArchiveType::Daily, {2009, 3, 5}, {2009, 3, 6}, 0, 0)),
              (std::vector<std::string>{"05.03.2009", "06.03.2009"}));
    // Hourly across midnight.
    const auto night = walkAll(startArchiveWalk(ArchiveType::Hourly, {2016, 12, 31}, {2017, 1, 1}, 22, 1));
    EXPECT_EQ(night, (std::vector<std::string>{"22:31.12.2016", "23:31.12.2016", "00:01.01.2017", "01:01.01.2017"}));
}

TEST(ArchiveWalk, MonthlyKeepsTheEndMonthAndAlwaysEnds)
{
    ArchiveWalk w = startArchiveWalk(ArchiveType::Monthly, {2017, 1, 15}, {2017, 3, 10}, 0, 0);
    EXPECT_EQ(w.DevEndTime, (CalendarDate{2017, 3, 16}));
    std::vector<std::uint8_t> days;
    EXPECT_EQ(walkAll(w, &days), (std::vector<std::string>{"255.01.2017", "255.02.2017", "255.03.2017"}));
    EXPECT_EQ(days, (std::vector<std::uint8_t>{255, 255, 255}));
    EXPECT_EQ(w.arcHour, 255);

    const ArchiveWalk fromThe31st = startArchiveWalk(ArchiveType::Monthly, {2017, 1, 31}, {2017, 4, 10}, 0, 0);
    EXPECT_EQ(walkAll(fromThe31st), (std::vector<std::string>{"255.01.2017", "255.02.2017", "255.03.2017", "255.04.2017"}));
    const ArchiveWalk shortMonth = startArchiveWalk(ArchiveType::Monthly, {2017, 1, 30}, {2017, 2, 10}, 0, 0);
    EXPECT_EQ(walkAll(shortMonth), (std::vector<std::string>{"255.01.2017", "255.02.2017"})) << "no month past the end";
}

TEST(ArchiveWalk, ChecksumRetriesAndProgress)
{
    ArchiveWalk w = startArchiveWalk(ArchiveType::Hourly, {2017, 3, 5}, {2017, 3, 5}, 0, 1);
    EXPECT_EQ(w.arcTotal, 2);
    EXPECT_EQ(afterArchiveExchange(w, true), WalkStep::Repeat);
    EXPECT_EQ(afterArchiveExchange(w, true), WalkStep::Repeat);
    EXPECT_EQ(w.arcHour, 0);
    EXPECT_EQ(afterArchiveExchange(w, true), WalkStep::Next) << "the third failure moves on";
    EXPECT_EQ(w.arcHour, 1);
    EXPECT_EQ(progressPercent(w), 50);
    EXPECT_EQ(afterArchiveExchange(w, true), WalkStep::Repeat) << "each period has its own three tries";
    EXPECT_EQ(afterArchiveExchange(w, false), WalkStep::Finished);
    EXPECT_EQ(progressPercent(w), 100);

    ArchiveWalk reversed = startArchiveWalk(ArchiveType::Monthly, {2018, 1, 1}, {2017, 1, 1}, 0, 0);
    EXPECT_LE(reversed.arcTotal, 0);
    EXPECT_EQ(progressPercent(reversed), 100);
    reversed.arcTotal = 1;
    reversed.arcDone = 5;
    EXPECT_EQ(progressPercent(reversed), 100);
}

TEST(OwnDoubling, UndoneExactly)
{
    struct Case {
        Bytes sent;      // as on the line
        Bytes payload;   // what the device meant, from offset 2 to the tail
    };
    const Case cases[] = {
        {{0x10, 0x01, 0x01, 0x10, 0x10, 0x02, 0x10, 0x03, 0xAA, 0xBB}, {0x01, 0x10, 0x02}},
        {{0x10, 0x01, 0x10, 0x10, 0x10, 0x10, 0x10, 0x03, 0xAA, 0xBB}, {0x10, 0x10}},        // a run of four
        {{0x10, 0x01, 0x05, 0x10, 0x10, 0x10, 0x03, 0x10, 0x10}, {0x05, 0x10}},              // before the tail
        {{0x10, 0x01, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x03, 0x01, 0x02}, {0x10, 0x10, 0x10}},
    };
    for (const Case& c : cases) {
        const Bytes undone = own::undoubleDle(c.sent);
        Bytes expected = {0x10, 0x01};
        expected.insert(expected.end(), c.payload.begin(), c.payload.end());
        expected.insert(expected.end(), c.sent.end() - 4, c.sent.end());
        EXPECT_EQ(undone, expected);
    }
}

// An own record answer as the device sends it: its 0x10 bytes doubled.
Bytes doubledAnswer(const Bytes& payload)
{
    Bytes single = {0x10, 0x01, 0x00, 0x00};
    for (std::uint8_t b : payload)
        single.push_back(b);
    single.push_back(0x10);
    single.push_back(0x03);
    const std::uint16_t crc = CRC16Str(std::span(single).subspan(2));
    Bytes line = {0x10, 0x01};
    for (std::size_t i = 2; i + 2 < single.size(); ++i) {
        line.push_back(single[i]);
        if (single[i] == 0x10)
            line.push_back(0x10);
    }
    line.insert(line.end(), {0x10, 0x03, lowByte(crc), highByte(crc)});
    return line;
}

TOrvanicStruct threeFields()
{
    TOrvanicStruct d;
    for (const char* f : {"Дата и время", "V1 [м3]", "tраб", "Статус"})
        d.NameFields[d.CountFields++] = ShortText::fromUtf8(f);
    d.StructStatus[0] = ShortText::fromUtf8("Обрыв");
    d.CountStatus = 1;
    return d;
}

Bytes values(float v, std::int32_t work, std::int32_t status)
{
    Bytes p(12);
    std::memcpy(p.data(), &v, 4);  // little-endian, as the device sends it
    std::memcpy(p.data() + 4, &work, 4);
    std::memcpy(p.data() + 8, &status, 4);
    return p;
}

TEST(ArchiveAnswers, RowsOfEveryOutcome)
{
    const TOrvanicStruct d = threeFields();
    const RecordContext context{d, 0, "."};
    struct Case {
        const char* name;
        Protocol protocol;
        Bytes answer;
        ArchiveOutcome outcome;
        std::string caption;
    };
    Bytes garbled = doubledAnswer(values(16.0f, 16, 0));
    garbled[3] ^= 1;
    Bytes modbusShort = modbus::frame({0x01, 0x03, 0x0C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const Case cases[] = {
        {"own data with doubled bytes", Protocol::Own, doubledAnswer(values(2.25f, 0x10, 0x10)), ArchiveOutcome::Data, "13:05.03.2017"},
        {"own no data", Protocol::Own, doubledAnswer({0x00}), ArchiveOutcome::NoData, " - данные отсутствуют"},
        {"own one value short", Protocol::Own, doubledAnswer(Bytes(8, 0)), ArchiveOutcome::TooShort, "13:05.03.2017 - Ошибка структуры данных"},
        {"own garbled", Protocol::Own, garbled, ArchiveOutcome::CrcError, "Ошибка CRC"},
        {"own too short", Protocol::Own, Bytes{0x10, 0x01, 0x10}, ArchiveOutcome::CrcError, "Ошибка CRC"},
        {"modbus one value short", Protocol::Modbus, modbusShort, ArchiveOutcome::TooShort, "13:05.03.2017 - Ошибка структуры данных"},
        {"modbus exception", Protocol::Modbus, modbus::frame({0x01, 0x83, 0x02}), ArchiveOutcome::TooShort, "13:05.03.2017 - Ошибка структуры данных"},
    };
    for (const Case& c : cases) {
        RowTexts texts{};
        EXPECT_EQ(decodeArchiveAnswer(c.protocol, c.answer, context, "13:05.03.2017", texts), c.outcome) << c.name;
        EXPECT_EQ(texts[0], c.caption) << c.name;
    }
    RowTexts texts{};
    decodeArchiveAnswer(Protocol::Own, doubledAnswer(values(2.25f, 0x10, 0x10)), context, "13:05.03.2017", texts);
    EXPECT_EQ(texts[1], "2.25");
    EXPECT_EQ(texts[2], "00:02:40");
    EXPECT_EQ(texts[3], "") << "status 16 names no listed bit";
}

TEST(ArchiveAnswers, DoubledFramesCompleteOnlyWhenWhole)
{
    const Bytes answer = doubledAnswer(values(16.0f, 0x1010, 0x10));
    const ExpectedAnswer expected = archiveAnswer(Protocol::Own, 4);
    for (std::size_t n = 0; n < answer.size(); ++n)
        EXPECT_FALSE(isAnswerComplete(expected, std::span(answer).first(n))) << n;
    EXPECT_TRUE(isAnswerComplete(expected, answer));
    EXPECT_TRUE(isAnswerComplete(expected, doubledAnswer({0x10}))) << "the no-data answer";
}

}  // namespace
}  // namespace orvanic
