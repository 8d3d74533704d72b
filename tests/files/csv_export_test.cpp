#include <gtest/gtest.h>

#include "files/csv_export.h"
#include "files/export_name.h"
#include "link/cp1251.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

TableSnapshot hourly()
{
    return {{"Дата и время", "Q1 [м3/ч]", "Статус"},
            {{"05:01.12.2016", "12,5", ""}, {"06:01.12.2016 - данные отсутствуют"}, {"Ошибка CRC"}}};
}

TEST(CsvExport, LinesOfTheExample)
{
    const TableSnapshot table = hourly();
    const std::string csv = formatCsv(table, FillFieldList(table.columnTitles), "ABC", "17");
    EXPECT_EQ(cp1251ToUtf8(csv), "ABC 17;\r\nДата и время;Q1 [м3/ч];Статус;\r\n05:01.12.2016;12,5;;\r\n"
                                 "06:01.12.2016 - данные отсутствуют;\r\nОшибка CRC;\r\n");
    EXPECT_EQ(csv.substr(9, 4), "\xC4\xE0\xF2\xE0") << "Windows-1251 bytes";
}

TEST(CsvExport, SelectionAndTitles)
{
    TableSnapshot table = hourly();
    AFieldsList none = FillFieldList(table.columnTitles);
    none.FieldItem[1].Flag = none.FieldItem[2].Flag = false;
    EXPECT_EQ(cp1251ToUtf8(formatCsv(table, none, "ABC", "17")),
              "ABC 17;\r\nДата и время;\r\n05:01.12.2016;\r\n06:01.12.2016 - данные отсутствуют;\r\nОшибка CRC;\r\n");

    // Columns titled after the list was built (the Modbus extra columns) are left out.
    TableSnapshot modbus{{"Дата и время", "V1 [м3]", "", ""}, {{"10.12.2026 20:45:12", "1", "13", "4"}, {"05.03.2017", "2", "0", "50317"}}};
    const AFieldsList built = FillFieldList(modbus.columnTitles);
    modbus.columnTitles[2] = "Час архива";
    modbus.columnTitles[3] = "Дата архива";
    EXPECT_EQ(cp1251ToUtf8(formatCsv(modbus, built, "X-A40 1", "1234")),
              "X-A40 1 1234;\r\nДата и время;V1 [м3];\r\n10.12.2026 20:45:12;\r\n05.03.2017;2;\r\n")
        << "a current-data caption is no data row";

    TableSnapshot semicolon{{"Дата и время", "A;B"}, {{"05.03.2017", "1;2"}}};
    EXPECT_EQ(cp1251ToUtf8(formatCsv(semicolon, FillFieldList(semicolon.columnTitles), "N", "1")),
              "N 1;\r\nДата и время;A;B;\r\n05.03.2017;1;2;\r\n")
        << "texts are written as they are";
}

TEST(ExportName, RulesOfTheSaveDialog)
{
    EXPECT_EQ(std::get<UserMessage>(exportFileName(".csv", ".csv")), (UserMessage{"Имя файла не задано", "Ошибка"}));
    EXPECT_EQ(std::get<std::filesystem::path>(exportFileName("abc", ".csv")), "abc.csv");
    EXPECT_EQ(std::get<std::filesystem::path>(exportFileName("report.CSV", ".csv")), "report.CSV.csv");
    EXPECT_EQ(std::get<std::filesystem::path>(exportFileName("/tmp/x.csv", ".csv")), "/tmp/x.csv");
    EXPECT_EQ(std::get<std::filesystem::path>(exportFileName("a.dat", ".dat")), "a.dat");
}

TEST(CsvExport, UnwritableFileIsNamedAndLeavesTheOldOne)
{
    test::TempDir dir;
    const auto file = dir.write("old.csv", "old");
    EXPECT_FALSE(writeCsvFile(file, "new"));
    EXPECT_EQ(test::readFile(file), "new");
    const auto message = writeCsvFile(dir.path() / "missing" / "x.csv", "new");
    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find("x.csv"), std::string::npos);
}

}  // namespace
}  // namespace orvanic
