// The data file: its exact bytes, the name rule, save-and-open round trips
// and the refusals of saving.
#include "files/data_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "acquire/value_texts.h"
#include "files/data_file_cells.h"
#include "files/data_file_dates.h"
#include "files/data_file_format.h"
#include "link/cp1251.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// "AB AA 0D" -> those bytes.
std::string hex(std::string_view spaced)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < spaced.size(); i += 3)
        out.push_back(static_cast<char>(std::stoi(std::string(spaced.substr(i, 2)), nullptr, 16)));
    return out;
}

std::string le32(std::uint32_t v)
{
    std::string out;
    for (int i = 0; i < 4; ++i, v >>= 8)
        out.push_back(static_cast<char>(v & 0xFF));
    return out;
}

std::string singleBytes(float v)
{
    return le32(std::bit_cast<std::uint32_t>(v));
}

const std::string kFormat = hex("06 00 00 00 23 30 2E 30 30 30");

// A device as connecting describes it: field entries follow "Дата и время".
TOrvanicStruct device(const std::string& name, const std::vector<std::string>& fields,
                      const std::vector<std::string>& statuses, std::uint8_t type)
{
    TOrvanicStruct d;
    d.DeviceName = name;
    d.DeviceNumber = "1234";
    d.NameFields[d.CountFields++] = ShortText::fromUtf8("Дата и время");
    for (const std::string& f : fields)
        d.NameFields[d.CountFields++] = ShortText::fromUtf8(f);
    for (const std::string& s : statuses)
        d.StructStatus[d.CountStatus++] = ShortText::fromUtf8(s);
    d.TypeReport = type;
    return d;
}

std::vector<std::string> titlesOf(const TOrvanicStruct& d)
{
    std::vector<std::string> titles;
    for (std::size_t i = 0; i < d.CountFields; ++i)
        titles.push_back(d.NameFields[i].utf8());
    return titles;
}

class DataFileTest : public ::testing::Test {
protected:
    test::TempDir m_dir;

    std::optional<UserMessage> trySave(const std::string& name, const TableSnapshot& table, const TOrvanicStruct& d,
                                       std::uint8_t energy = 0, const std::string& separator = ".")
    {
        const SaveContext context{d, static_cast<std::uint8_t>(table.columnTitles.size()), energy, separator};
        return saveDataFile(m_dir.path() / name, table, context);
    }

    std::string save(const std::string& name, const TableSnapshot& table, const TOrvanicStruct& d,
                     std::uint8_t energy = 0, const std::string& separator = ".")
    {
        const auto failed = trySave(name, table, d, energy, separator);
        EXPECT_FALSE(failed) << (failed ? failed->text : "");
        return test::readFile(m_dir.path() / name);
    }

    OpenedDataFile open(const std::string& name, std::uint8_t energy = 0, const std::string& separator = ".")
    {
        return openDataFile(m_dir.path() / name, energy, separator);
    }

    std::vector<std::string> filesInDir() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(DataFileName, AddsDatUnlessPresentAndRefusesNoName)
{
    const std::pair<const char*, const char*> named[] = {
        {"abc", "abc.dat"},
        {"report.DAT", "report.DAT.dat"},
        {"archive.dat", "archive.dat"},
        {"/home/op/март", "/home/op/март.dat"},
        {"a.dat.txt", "a.dat.txt.dat"},
    };
    for (const auto& [chosen, expected] : named) {
        const auto result = dataFileName(chosen);
        ASSERT_TRUE(std::holds_alternative<std::filesystem::path>(result)) << chosen;
        EXPECT_EQ(std::get<std::filesystem::path>(result), std::filesystem::path(expected)) << chosen;
    }
    for (const char* unnamed : {".dat", "/home/op/.dat", "", "/home/op/"}) {
        const auto result = dataFileName(unnamed);
        ASSERT_TRUE(std::holds_alternative<UserMessage>(result)) << unnamed;
        EXPECT_EQ(std::get<UserMessage>(result), (UserMessage{"Имя файла не задано", "Ошибка"})) << unnamed;
    }
}

// Every item of a small hourly file, byte for byte. The table starts and ends
// with message rows and has two more between its data rows; only the data
// rows are written and the header dates come from them.
TEST_F(DataFileTest, HourlyFileBytes)
{
    const TOrvanicStruct d = device("X-A40 1", {"Q1 [м3/ч]", "tраб", "Статус"}, {"Обрыв", "Перегрев"}, kHourlyArchive);
    const TableSnapshot table{titlesOf(d),
                              {{"Ошибка CRC"},
                               {"05:01.12.2016", "12.5", "01:00:00", "Обрыв"},
                               {"Ошибка CRC"},
                               {"06:01.12.2016 - данные отсутствуют"},
                               {"07:01.12.2016", "-3", "00:00:00", ""},
                               {"08:01.12.2016 - данные отсутствуют"}}};
    const std::string expected =
        hex("07 00 00 00") + "X-A40 1" + hex("04 00 00 00") + "1234"
        + hex("03 00 00 00")                                       // value columns
        + hex("02 00 00 00 51 31 00") + kFormat                    // Q1, unit dropped
        + hex("04 00 00 00 74 F0 E0 E1 01") + kFormat              // tраб, a time counter
        + hex("01 00 00 00 53 01 06 00 00 00 23 30 2E 30 30 30")   // the status record
        + hex("11 00 00 00 CE E1 F0 FB E2 0D 0A CF E5 F0 E5 E3 F0 E5 E2 0D 0A")
        + hex("00 00 00 00 00 00 00 00")                           // hourly
        + hex("00 00 00 00 20 DA E4 40 05 00 00 00 00 00 00 00")   // first: 01.12.2016, 5 h
        + hex("00 00 00 00 20 DA E4 40 07 00 00 00 00 00 00 00")   // last: 01.12.2016, 7 h
        + hex("AB AA AA AA 26 DA E4 40 00 00 48 41 00 00 B4 43 00 00 80 3F")   // 05:00, 12.5, 360, bit 0
        + hex("55 55 55 55 29 DA E4 40 00 00 40 C0 00 00 00 00 00 00 00 00");  // 07:00, -3, 0, 0
    const std::string bytes = save("h.dat", table, d);
    EXPECT_EQ(bytes, expected);
}

TEST_F(DataFileTest, DailyAndMonthlyDates)
{
    struct Case {
        std::uint8_t type;
        const char* caption;
        const char* dateTime;  // the row record's first 8 bytes
    };
    const Case cases[] = {
        {kDailyArchive, "01.12.2016", "00 00 00 00 20 DA E4 40"},
        {kMonthlyArchive, "255.12.2016", "00 00 00 00 20 DA E4 40"},  // the 1st of the month
        {kDailyArchive, "30.12.1899", "00 00 00 00 00 00 00 00"},
        {kDailyArchive, "29.02.2016", "00 00 00 00 A0 B7 E4 40"},
    };
    for (const Case& c : cases) {
        const TOrvanicStruct d = device("X-A40 1", {"V1 [м3]"}, {}, c.type);
        const std::string bytes = save("d.dat", TableSnapshot{titlesOf(d), {{c.caption, "1"}}}, d);
        ASSERT_GE(bytes.size(), 12u);
        const std::string record = bytes.substr(bytes.size() - 12);
        EXPECT_EQ(record.substr(0, 8), hex(c.dateTime)) << c.caption;
        const std::size_t head = bytes.size() - 12;
        EXPECT_EQ(bytes.substr(head - 32, 8), hex(c.dateTime)) << "first day " << c.caption;
        EXPECT_EQ(bytes.substr(head - 24, 8), std::string(8, '\0')) << "first hour " << c.caption;
        EXPECT_EQ(bytes.substr(head - 40, 8), std::string(1, static_cast<char>(c.type)) + std::string(7, '\0'));
    }
}

// Time counters and the status are integers for C10.x devices, singles for
// the others; the model comes from the stored name, so a table saved after
// disconnecting (the session's model reset) still gets integers.
TEST_F(DataFileTest, CountersAreIntegersOnlyForC10)
{
    const std::pair<const char*, bool> models[] = {
        {"X-C10.1 1", true}, {"X-C10.2 1", true}, {"Y C10.3", true},
        {"X-A40 1", false}, {"X-C10.4 1", false}, {"C10.1", false},
    };
    for (const auto& [name, integers] : models) {
        const TOrvanicStruct d = device(name, {"tраб", "Статус"}, {"Обрыв", "Перегрев"}, kDailyArchive);
        const TableSnapshot table{titlesOf(d), {{"01.12.2016", "01:00:00", "Обрыв, Перегрев"}}};
        const std::string bytes = save("c.dat", table, d);
        const std::string values = bytes.substr(bytes.size() - 8);
        EXPECT_EQ(values, integers ? hex("68 01 00 00 03 00 00 00") : singleBytes(360) + singleBytes(3)) << name;
        const OpenedDataFile opened = open("c.dat");
        EXPECT_FALSE(opened.problem) << name;
        EXPECT_EQ(opened.table.rows, table.rows) << name;
    }
}

// One field record per value column: the device's fields by name without
// unit, the status as "S", and any further columns by their titles.
TEST_F(DataFileTest, FieldRecordsFollowTheColumns)
{
    struct Case {
        const char* what;
        std::vector<std::string> fields;
        std::vector<std::string> extraTitles;
        std::vector<std::pair<std::string, int>> records;  // name and time flag
    };
    const Case cases[] = {
        {"Modbus", {"P1 [атм]", "tраб", "Статус"}, {"Час архива", "Дата архива"},
         {{"P1", 0}, {"tраб", 1}, {"S", 1}, {"Час архива", 0}, {"Дата архива", 0}}},
        {"no status entry", {"Vгвс [м3]", "tреж2"}, {"Час архива", "Дата архива"},
         {{"Vгвс", 0}, {"tреж2", 1}, {"Час архива", 0}, {"Дата архива", 0}}},
        {"unit without space", {"Q1[м3/ч]", "tдог", "Статус"}, {}, {{"Q1", 0}, {"tдог", 1}, {"S", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TOrvanicStruct d = device("X-A90 1", c.fields, {}, kDailyArchive);
        TableSnapshot table{titlesOf(d), {}};
        table.columnTitles.insert(table.columnTitles.end(), c.extraTitles.begin(), c.extraTitles.end());
        table.rows.push_back(std::vector<std::string>(table.columnTitles.size(), "1"));
        table.rows[0][0] = "01.12.2016";
        const DataFileContents contents = readDataFile(save("f.dat", table, d));
        ASSERT_EQ(contents.head.fields.size(), c.records.size());
        for (std::size_t j = 0; j < c.records.size(); ++j) {
            EXPECT_EQ(cp1251ToUtf8(contents.head.fields[j].name), c.records[j].first);
            EXPECT_EQ(contents.head.fields[j].timeFlag, c.records[j].second) << c.records[j].first;
            EXPECT_EQ(contents.head.fields[j].format, "#0.000");
        }
    }
}

// Only "W" columns are scaled, and only when energy is shown in Гкал.
TEST_F(DataFileTest, EnergyIsStoredInGigajoules)
{
    const std::pair<std::uint8_t, std::string> cases[] = {
        {1, singleBytes(10) + singleBytes(2.5f) + singleBytes(2.5f)},
        {0, singleBytes(2.38846f) + singleBytes(2.5f) + singleBytes(2.5f)},
    };
    for (const auto& [energy, values] : cases) {
        const TOrvanicStruct d = device("X-A40 1", {"W1 [Гкал]", "H1 [Гкал]", "Q1 [м3/ч]"}, {}, kDailyArchive);
        const std::string bytes = save("w.dat", TableSnapshot{titlesOf(d), {{"01.12.2016", "2,38846", "2,5", "2,5"}}}, d, energy, ",");
        EXPECT_EQ(bytes.substr(bytes.size() - 12), values) << int(energy);
    }
}

// Saving a table, opening the file, and saving what was opened again.
struct RoundTrip {
    const char* what;
    std::string deviceName;
    std::vector<std::string> fields;
    std::vector<std::string> statuses;
    std::uint8_t type;
    std::vector<std::string> extraTitles;  // the Modbus archive's columns
    Rows rows;
    std::uint8_t energy = 0;
    std::string separator = ".";
    std::vector<RowIcon> icons;
};

TEST_F(DataFileTest, SaveOpenSaveKeepsTheTable)
{
    const std::string w10 = numberText(10.0f * 0.238846f, ",");  // what the table shows for 10 GJ
    const std::vector<RoundTrip> cases = {
        {"hourly", "X-A40 1", {"Q1 [м3/ч]", "V1 [м3]", "tраб", "Статус"}, {"Обрыв", "Перегрев", "Нет питания"},
         kHourlyArchive, {},
         {{"00:01.12.2016", "12.5", "7.62939453125E-6", "01:00:00", ""},
          {"05:01.12.2016", "-3", "100", "00:00:00", "Обрыв, Нет питания"},
          {"23:31.12.2016", "0", "4294967296", "342:56:00", "Перегрев"}},
         0, ".", {RowIcon::Ok, RowIcon::Stopped, RowIcon::Plain}},
        {"daily, Cyrillic names", "ÂÒÊ-B8 2", {"Vгвс [м3]", "tmax", "tреж", "Статус"}, {"Обрыв"},
         kDailyArchive, {},
         {{"01.01.2017", "1,25", "3", "00:00:10", "Обрыв"}, {"02.01.2017", "2", "-0,5", "00:00:00", ""}},
         0, ",", {RowIcon::Plain, RowIcon::Ok}},
        {"monthly", "X-A60.1 3", {"M1 [т]", "T1 [°С]", "Статус"}, {}, kMonthlyArchive, {},
         {{"255.01.2017", "1", "2", ""}, {"255.02.2017", "3", "4", ""}}, 0, ".", {RowIcon::Ok, RowIcon::Ok}},
        {"Modbus", "X-A90 4", {"P1 [атм]", "tраб", "Статус"}, {"Обрыв"}, kHourlyArchive, {"Час архива", "Дата архива"},
         {{"13:12.03.2017", "1.5", "10:00:00", "Обрыв", "13", "170312"}}, 0, ".", {RowIcon::Plain}},
        {"C10.x", "X-C10.2 5", {"tраб", "tдог", "Q1 [м3/ч]", "Статус"}, {"A", "B", "C"}, kHourlyArchive, {},
         {{"01:01.12.2016", "34:17:30", "1000:00:00", "0.5", "A, C"}}, 0, ".", {RowIcon::Plain}},
        {"Гкал", "X-A40 1", {"W1 [Гкал]", "H1 [Гкал]", "Статус"}, {}, kDailyArchive, {},
         {{"01.12.2016", w10, "2,5", ""}, {"02.12.2016", numberText(123456.7f * 0.238846f, ","), "5", ""}},
         1, ",", {RowIcon::Ok, RowIcon::Ok}},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.what);
        const TOrvanicStruct d = device(c.deviceName, c.fields, c.statuses, c.type);
        TableSnapshot table{titlesOf(d), c.rows};
        table.columnTitles.insert(table.columnTitles.end(), c.extraTitles.begin(), c.extraTitles.end());
        const std::string first = save("a.dat", table, d, c.energy, c.separator);

        const OpenedDataFile opened = open("a.dat", c.energy, c.separator);
        EXPECT_FALSE(opened.problem) << opened.problem->text;
        EXPECT_EQ(opened.table.columnTitles, table.columnTitles);
        EXPECT_EQ(opened.table.rows, c.rows);
        EXPECT_EQ(opened.icons, c.icons);
        EXPECT_EQ(opened.headerText, "Архивные данные " + c.deviceName + " №1234");
        EXPECT_EQ(opened.devType, modelFromName(c.deviceName));
        EXPECT_EQ(opened.description.DeviceName, c.deviceName);
        EXPECT_EQ(opened.description.TypeReport, c.type);
        EXPECT_EQ(opened.description.CountFields, table.columnTitles.size());
        ASSERT_EQ(opened.description.CountStatus, c.statuses.size());
        for (std::size_t i = 0; i < c.statuses.size(); ++i)
            EXPECT_EQ(opened.description.StructStatus[i].utf8(), c.statuses[i]);

        const SaveContext again{opened.description, static_cast<std::uint8_t>(opened.table.columnTitles.size()), c.energy,
                                c.separator};
        EXPECT_FALSE(saveDataFile(m_dir.path() / "b.dat", opened.table, again));
        EXPECT_EQ(test::readFile(m_dir.path() / "b.dat"), first);
    }
}

TEST_F(DataFileTest, OpenedDescription)
{
    // The name's characters are the device's bytes: one byte each in the file.
    const TOrvanicStruct d = device("ÿÂ-A40 1", {"Q1 [м3/ч]", "tреж", "tраб", "Статус"}, {"Обрыв"}, kDailyArchive);
    const std::string bytes = save("a.dat", TableSnapshot{titlesOf(d), {{"01.12.2016", "1", "00:00:00", "00:00:10", ""}}}, d);
    EXPECT_EQ(bytes.substr(0, 12), hex("08 00 00 00 FF C2 2D 41 34 30 20 31"));
    const OpenedDataFile opened = open("a.dat");
    EXPECT_EQ(opened.description.DeviceName, "ÿÂ-A40 1");
    EXPECT_EQ(opened.devType, TOrvanDevice::mcuA40);
    const std::vector<std::string> names = {"Дата и время", "Q1", "tреж", "tраб", "Статус"};
    ASSERT_EQ(opened.description.CountFields, names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(opened.description.NameFields[i].utf8(), names[i]);
        EXPECT_EQ(opened.description.NameFormat[i], i == 0 ? 0 : 1) << i;
    }
    EXPECT_EQ(opened.indexes.ModeTimeIndex, 3);
    EXPECT_EQ(opened.indexes.WorkTimeIndex, 4);
    EXPECT_EQ(opened.indexes.StatusIndex, 5);
    EXPECT_EQ(opened.icons, std::vector<RowIcon>{RowIcon::Ok});  // a stopped tреж is no stopped meter
}

// Energy in Гкал: the file holds GJ. Any single shown as the table shows it
// comes back as the same single and the same text.
TEST(EnergyCells, GigacalorieTextsKeepTheirSingle)
{
    CellRule rule{ColumnKind::Energy, false, true, {}, ","};
    EXPECT_EQ(cellWord("2,38846", rule), std::bit_cast<std::uint32_t>(10.0f));
    std::mt19937 random(7);
    // Normal singles: the device reads a zero exponent its own way, so subnormals do not come back.
    std::uniform_int_distribution<std::uint32_t> bits(0x00800000, 0x7F7FFFFF);
    for (int i = 0; i < 20000; ++i) {
        float gj = std::bit_cast<float>(bits(random));
        if (i % 2)
            gj = -gj;
        const std::string shown = numberText(gj * 0.238846f, ",");
        const auto word = cellWord(shown, rule);
        ASSERT_TRUE(word) << shown;
        EXPECT_EQ(cellText(*word, rule), shown);
    }
    rule.gigacalories = false;
    EXPECT_EQ(cellWord("2,38846", rule), std::bit_cast<std::uint32_t>(2.38846f));
    EXPECT_EQ(cellText(std::bit_cast<std::uint32_t>(10.0f), rule), "10");
}

TEST(CellNumbers, RegionalSeparatorOnly)
{
    const std::tuple<const char*, const char*, double> numbers[] = {
        {"12,5", ",", 12.5}, {"12.5", ".", 12.5},      {"-3", ",", -3},     {"+2", ".", 2},
        {",5", ",", 0.5},    {"1,5E-6", ",", 1.5e-6}, {"1E20", ".", 1e20}, {"4294967296", ".", 4294967296.0},
    };
    for (const auto& [text, separator, value] : numbers)
        EXPECT_EQ(parseNumber(text, separator), value) << text;
    const std::pair<const char*, const char*> notNumbers[] = {
        {"", "."},     {"-", "."},   {"12.5", ","}, {"1,2,3", ","}, {"abc", "."}, {"1E", "."},
        {" 1", "."},   {"1 ", "."},  {"inf", "."},  {"nan", "."},   {"1e39", "."}, {"0x10", "."},
    };
    for (const auto& [text, separator] : notNumbers)
        EXPECT_FALSE(parseNumber(text, separator)) << text;
}

TEST(RowCaptions, BothWays)
{
    struct Case {
        std::uint8_t type;
        const char* caption;
        double dateTime;
    };
    const Case cases[] = {
        {kHourlyArchive, "05:01.12.2016", 42705 + 5 / 24.0}, {kHourlyArchive, "00:01.12.2016", 42705},
        {kHourlyArchive, "23:28.02.2000", 36584 + 23 / 24.0}, {kDailyArchive, "31.12.9999", 2958465},
        {kDailyArchive, "01.01.0001", -693593},              {kMonthlyArchive, "255.12.2016", 42705},
        {kHourlyArchive, "06:29.12.1899", -1.25},  // before the epoch the time counts away from zero
    };
    for (const Case& c : cases) {
        const auto date = rowDateFromCaption(c.caption, c.type);
        ASSERT_TRUE(date) << c.caption;
        EXPECT_EQ(date->dateTime(), c.dateTime) << c.caption;
        EXPECT_EQ(captionFromDateTime(c.dateTime, c.type), c.caption);
    }
    EXPECT_EQ(captionFromDateTime(std::nextafter(42706.0, 0.0), kHourlyArchive), "00:02.12.2016") << "rounds to the next midnight";
    EXPECT_EQ(captionFromDateTime(42705.74, kDailyArchive), "01.12.2016");
    for (double notADay : {2958466.0, -693594.0, 1e300, std::nan(""), HUGE_VAL})
        EXPECT_FALSE(captionFromDateTime(notADay, kDailyArchive)) << notADay;
    EXPECT_FALSE(captionFromDateTime(42705, 3));
}

struct Refusal {
    const char* what;
    std::uint8_t type;
    Rows rows;
    std::string mentions;  // the offending text the message must name
};

TEST_F(DataFileTest, RefusesTablesItCannotWrite)
{
    const std::vector<Refusal> cases = {
        {"no rows", kHourlyArchive, {}, "нет строк"},
        {"only messages", kHourlyArchive, {{"Ошибка CRC"}, {"05:01.12.2016 - данные отсутствуют"}}, "нет строк"},
        {"one-digit hour", kHourlyArchive, {{"5:01.12.2016", "1"}}, "5:01.12.2016"},
        {"hour 24", kHourlyArchive, {{"24:01.12.2016", "1"}}, "24:01.12.2016"},
        {"no such day", kHourlyArchive, {{"05:31.11.2016", "1"}}, "05:31.11.2016"},
        {"wrong separator", kHourlyArchive, {{"05-01.12.2016", "1"}}, "05-01.12.2016"},
        {"daily caption in hourly", kHourlyArchive, {{"01.12.2016", "1"}}, "01.12.2016"},
        {"not a leap year", kDailyArchive, {{"29.02.2017", "1"}}, "29.02.2017"},
        {"letters for digits", kDailyArchive, {{"0a.12.2016", "1"}}, "0a.12.2016"},
        {"month 13", kMonthlyArchive, {{"255.13.2016", "1"}}, "255.13.2016"},
        {"poll caption", kMonthlyArchive, {{"01.12.2016 05:00:00", "1"}}, "01.12.2016 05:00:00"},
        {"bad row after good", kDailyArchive, {{"01.12.2016", "1"}, {"32.12.2016", "1"}}, "32.12.2016"},
        {"comma with point separator", kDailyArchive, {{"01.12.2016", "12,5"}}, "12,5"},
        {"empty cell", kDailyArchive, {{"01.12.2016", ""}}, "V1 [м3]"},
        {"text cell", kDailyArchive, {{"01.12.2016", "нет"}}, "нет"},
        {"missing cell", kDailyArchive, {{"01.12.2016"}}, "01.12.2016"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        const TOrvanicStruct d = device("X-A40 1", {"V1 [м3]"}, {}, c.type);
        const auto failed = trySave("r.dat", TableSnapshot{titlesOf(d), c.rows}, d);
        ASSERT_TRUE(failed);
        EXPECT_EQ(failed->caption, "Ошибка");
        EXPECT_NE(failed->text.find(c.mentions), std::string::npos) << failed->text;
        EXPECT_TRUE(filesInDir().empty());
    }
}

TEST_F(DataFileTest, RefusesAnEmptyWindowTable)
{
    const TOrvanicStruct none;
    const SaveContext context{none, 0, 0, "."};
    const auto failed = saveDataFile(m_dir.path() / "e.dat", TableSnapshot{}, context);
    ASSERT_TRUE(failed);
    EXPECT_NE(failed->text.find("нет строк"), std::string::npos);
}

// A failed write names the file, keeps the old one and leaves no temporary.
TEST_F(DataFileTest, FailedWriteKeepsTheOldFile)
{
    const TOrvanicStruct d = device("X-A40 1", {"V1 [м3]"}, {}, kDailyArchive);
    const TableSnapshot table{titlesOf(d), {{"01.12.2016", "1"}}};
    // A name so long that the temporary beside it cannot be made, even for root.
    const std::string longName = std::string(250, 'a') + ".dat";
    m_dir.write(longName, "old");
    auto failed = trySave(longName, table, d);
    ASSERT_TRUE(failed);
    EXPECT_NE(failed->text.find(longName), std::string::npos) << failed->text;
    EXPECT_EQ(test::readFile(m_dir.path() / longName), "old");
    EXPECT_EQ(filesInDir(), std::vector<std::string>{longName});

    // A folder that may not be written to (root may write anyway; then there is nothing to show).
    std::filesystem::remove(m_dir.path() / longName);
    const auto sub = m_dir.path() / "locked";
    std::filesystem::create_directory(sub);
    std::filesystem::path old = m_dir.write("locked/old.dat", "old");
    ::chmod(sub.c_str(), 0555);
    if (::access(sub.c_str(), W_OK) != 0) {
        const SaveContext context{d, 2, 0, "."};
        failed = saveDataFile(old, table, context);
        ASSERT_TRUE(failed);
        EXPECT_NE(failed->text.find("old.dat"), std::string::npos);
        EXPECT_EQ(test::readFile(old), "old");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sub), std::filesystem::directory_iterator()), 1);
    }
    ::chmod(sub.c_str(), 0755);
}

TEST_F(DataFileTest, FileThatCannotBeOpened)
{
    std::filesystem::create_directory(m_dir.path() / "folder.dat");
    for (const char* name : {"missing.dat", "folder.dat"}) {
        const OpenedDataFile opened = open(name);
        ASSERT_TRUE(opened.problem) << name;
        EXPECT_EQ(opened.problem->caption, "Ошибка");
        EXPECT_NE(opened.problem->text.find(name), std::string::npos) << opened.problem->text;
        EXPECT_EQ(opened.table.columnTitles, std::vector<std::string>{"Дата и время"});
        EXPECT_TRUE(opened.table.rows.empty());
    }
}

}  // namespace
}  // namespace orvanic
