// Damaged data files: nothing in them is trusted, and what was read
// consistently before the damage is kept.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "files/data_file.h"
#include "files/data_file_dates.h"
#include "files/data_file_format.h"
#include "link/cp1251.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

// What holds for whatever file was opened.
void expectConsistent(const OpenedDataFile& opened)
{
    const std::size_t columns = opened.table.columnTitles.size();
    ASSERT_GE(columns, 1u);
    ASSERT_LE(columns, kDataFileMaxColumns);
    EXPECT_EQ(opened.description.CountFields, columns);
    EXPECT_LE(opened.description.CountStatus, kDataFileMaxStatuses);
    EXPECT_EQ(opened.icons.size(), opened.table.rows.size());
    for (const auto& row : opened.table.rows)
        ASSERT_EQ(row.size(), columns);
    if (opened.problem) {
        EXPECT_EQ(opened.problem->caption, "Ошибка");
        EXPECT_FALSE(opened.problem->text.empty());
    }
}

class DamagedDataFile : public ::testing::Test {
protected:
    test::TempDir m_dir;

    OpenedDataFile openBytes(std::string_view bytes)
    {
        return openDataFile(m_dir.write("f.dat", bytes), 0, ".");
    }

    // An hourly file of four rows: name, number, three value columns, two status names.
    std::string sample()
    {
        TOrvanicStruct d;
        d.DeviceName = "X-A40 1";
        d.DeviceNumber = "77";
        const char* fields[] = {"Дата и время", "Q1 [м3/ч]", "tраб", "Статус"};
        for (const char* f : fields)
            d.NameFields[d.CountFields++] = ShortText::fromUtf8(f);
        d.StructStatus[d.CountStatus++] = ShortText::fromUtf8("Обрыв");
        d.StructStatus[d.CountStatus++] = ShortText::fromUtf8("Перегрев");
        TableSnapshot table{{fields[0], fields[1], fields[2], fields[3]},
                            {{"05:01.12.2016", "12.5", "01:00:00", "Обрыв"},
                             {"06:01.12.2016", "13", "00:00:00", ""},
                             {"07:01.12.2016", "-1", "02:00:00", "Обрыв, Перегрев"},
                             {"08:01.12.2016", "0.25", "03:00:00", "Перегрев"}}};
        const SaveContext context{d, 4, 0, "."};
        const auto path = m_dir.path() / "sample.dat";
        EXPECT_FALSE(saveDataFile(path, table, context));
        return test::readFile(path);
    }
};

// Cut after every byte: the rows whole before the cut are shown, and only a
// cut exactly between row records is no damage.
TEST_F(DamagedDataFile, TruncatedAtEveryByte)
{
    const std::string full = sample();
    const OpenedDataFile whole = openBytes(full);
    ASSERT_FALSE(whole.problem);
    ASSERT_EQ(whole.table.rows.size(), 4u);
    const std::size_t record = rowRecordSize(3);
    const std::size_t headSize = full.size() - 4 * record;

    for (std::size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        const OpenedDataFile opened = openBytes(std::string_view(full).substr(0, n));
        expectConsistent(opened);
        const bool betweenRecords = n >= headSize && (n - headSize) % record == 0;
        EXPECT_EQ(opened.problem.has_value(), !betweenRecords);
        if (opened.problem) {
            EXPECT_NE(opened.problem->text.find("f.dat"), std::string::npos) << opened.problem->text;
        }
        const std::size_t rows = n >= headSize ? (n - headSize) / record : 0;
        EXPECT_EQ(opened.table.rows, std::vector(whole.table.rows.begin(), whole.table.rows.begin() + static_cast<std::ptrdiff_t>(rows)));
        const auto& titles = opened.table.columnTitles;
        EXPECT_TRUE(std::equal(titles.begin(), titles.end(), whole.table.columnTitles.begin()));
    }
}

TEST_F(DamagedDataFile, RandomlyChangedBytes)
{
    const std::string full = sample();
    std::mt19937 random(20161201);
    for (int i = 0; i < 3000; ++i) {
        std::string bytes = full;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c)
            bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
        if (i % 5 == 0)
            bytes.resize(random() % bytes.size());
        SCOPED_TRACE(i);
        expectConsistent(openBytes(bytes));
    }
}

std::string fileOf(const DataFileHead& head, const std::vector<double>& rowDates = {})
{
    ByteWriter out;
    writeHead(out, head);
    for (double date : rowDates)
        writeRowRecord(out, date, std::vector<std::uint32_t>(head.fields.size(), 0));
    return out.text();
}

DataFileHead headWith(std::size_t valueColumns, std::size_t statuses)
{
    DataFileHead head{"X-A40 1", "5", {}, {}, kDailyArchive, {}, {}};
    for (std::size_t j = 0; j < valueColumns; ++j)
        head.fields.push_back(FieldRecord{"V" + std::to_string(j), 0});
    for (std::size_t s = 0; s < statuses; ++s)
        head.statusNames.push_back("s" + std::to_string(s));
    return head;
}

struct Damage {
    const char* what;
    std::string bytes;
    const char* mentions;  // nullptr: no damage
    std::size_t columns;
    std::size_t rows;
};

std::string withCounts(std::uint32_t nameCount, std::uint32_t valueColumns)
{
    ByteWriter out;
    out.u32(nameCount);
    out.bytes("X-A40 1");
    out.countedText("5");
    out.u32(valueColumns);
    out.zeros(64);
    return out.text();
}

TEST_F(DamagedDataFile, CountsAndValuesOutOfBounds)
{
    DataFileHead oddFormat = headWith(1, 0);
    oddFormat.fields[0].format = "0.0";
    DataFileHead unknownType = headWith(2, 0);
    unknownType.typeReport = 3;

    const std::vector<Damage> cases = {
        {"40 columns", fileOf(headWith(39, 0), {42705}), nullptr, 40, 1},
        {"41 columns", fileOf(headWith(40, 0), {42705}), "40", 1, 0},
        {"column count near 2^32", withCounts(7, 0xFFFFFFFF), "столбцов", 1, 0},
        {"name running past the end", withCounts(0xFFFFFFF0, 1), "названии", 1, 0},
        {"50 status names", fileOf(headWith(1, 50), {42705}), nullptr, 2, 1},
        {"51 status names", fileOf(headWith(1, 51), {42705}), "50", 2, 0},
        {"unknown archive type", fileOf(unknownType, {42705}), "тип архива", 3, 0},
        {"row dated NaN", fileOf(headWith(1, 0), {42705, std::nan(""), 42707}), "строке 2", 2, 1},
        {"row dated after 9999", fileOf(headWith(1, 0), {42705, 3e6}), "строке 2", 2, 1},
        {"half a row", fileOf(headWith(1, 0), {42705, 42706}).substr(0, fileOf(headWith(1, 0), {42705, 42706}).size() - 2),
         "обрезана", 2, 1},
        {"another format", fileOf(oddFormat, {42705}), nullptr, 2, 1},  // shown all the same
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.what);
        const OpenedDataFile opened = openBytes(c.bytes);
        expectConsistent(opened);
        if (c.mentions) {
            ASSERT_TRUE(opened.problem);
            EXPECT_NE(opened.problem->text.find(c.mentions), std::string::npos) << opened.problem->text;
        } else {
            EXPECT_FALSE(opened.problem) << opened.problem->text;
        }
        EXPECT_EQ(opened.table.columnTitles.size(), c.columns);
        EXPECT_EQ(opened.table.rows.size(), c.rows);
    }
}

TEST_F(DamagedDataFile, StatusTextAfterTheLastLineEndIsNoName)
{
    ByteWriter out;
    out.countedText("X-A40 1");
    out.countedText("5");
    out.u32(0);
    out.countedText(utf8ToCp1251("Обрыв\r\nПерегрев\r\nхвост"));
    out.zeros(40);
    const OpenedDataFile opened = openBytes(out.text());
    EXPECT_FALSE(opened.problem);
    ASSERT_EQ(opened.description.CountStatus, 2);
    EXPECT_EQ(opened.description.StructStatus[1].utf8(), "Перегрев");
}

}  // namespace
}  // namespace orvanic
