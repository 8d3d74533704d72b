#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "files/sheet_layout.h"

namespace orvanic {
namespace {

using Cells = std::map<std::pair<std::uint32_t, std::uint32_t>, SheetCell>;

Cells cellsOf(const SheetLayout& layout)
{
    Cells cells;
    for (const SheetCell& cell : layout.cells)
        EXPECT_TRUE(cells.emplace(std::pair(cell.row, cell.column), cell).second) << "one cell written twice";
    return cells;
}

SheetLayout layoutOf(const TableSnapshot& table, const AFieldsList& fields, std::int32_t modeTimeIndex, std::string separator = ",")
{
    return sheetLayout(SheetSource{table, fields, "X-A40 1", "1234", modeTimeIndex, std::move(separator)});
}

// The text of the "Итого:" row under the column titled `title`.
std::string totalUnder(const SheetLayout& layout, const std::string& title)
{
    const Cells cells = cellsOf(layout);
    const std::uint32_t lastRow = layout.cells.back().row;
    for (const auto& [at, cell] : cells) {
        if (at.first == 2 && cell.text == title) {
            const auto total = cells.find({lastRow, at.second});
            return total == cells.end() ? "(none)" : total->second.text;
        }
    }
    return "(no column)";
}

TEST(SheetTotals, OfEachKindOfColumn)
{
    struct Case {
        const char* what;
        TableSnapshot table;
        std::int32_t modeTimeIndex;
        std::string column;
        std::string total;
    };
    const Case cases[] = {
        {"temperature weighted by running time",
         {{"Дата и время", "T1 [°С]", "tреж"}, {{"05:01.12.2016", "20", "01:00:00"}, {"06:01.12.2016", "50", "00:30:00"}}},
         3, "T1 [°С]", "30"},
        {"running time summed",
         {{"Дата и время", "T1 [°С]", "tреж", "Статус"}, {{"05:01.12.2016", "20", "01:00:00", ""}, {"06:01.12.2016", "50", "00:30:00", ""}}},
         3, "tреж", "1:30:0"},
        {"a day past 24 hours",
         {{"Дата и время", "tраб", "Статус"}, {{"01.12.2016", "25:01:01", ""}}}, 0, "tраб", "25:1:1"},
        {"hours of three digits and more read back",
         {{"Дата и время", "tраб", "Статус"}, {{"01.12.2016", "100:00:00", ""}, {"02.12.2016", "1000:00:30", ""}}}, 0, "tраб",
         "1100:0:30"},
        {"plain average over the rows that ran, message rows counted",
         {{"Дата и время", "G", "tреж", "Статус"},
          {{"05:01.12.2016", "3", "01:00:00"}, {"06:01.12.2016", "6", "00:00:00"}, {"07:01.12.2016", "9", "01:00:00"},
           {"08:01.12.2016 - данные отсутствуют"}}},
         3, "G", "6"},
        {"volume summed", {{"Дата и время", "V1 [м3]", "Статус"}, {{"01.12.2016", "1,5", ""}, {"02.12.2016", "2,5", ""}}}, 0, "V1 [м3]", "4"},
        {"mass summed", {{"Дата и время", "M1 [т]", "Статус"}, {{"01.12.2016", "3", ""}, {"02.12.2016", "1", ""}}}, 0, "M1 [т]", "4"},
        {"energy summed", {{"Дата и время", "W [Гкал]", "Статус"}, {{"01.12.2016", "0,25", ""}, {"02.12.2016", "0,5", ""}}}, 0, "W [Гкал]",
         "0,75"},
        {"pressure over the rows without a running time",
         {{"Дата и время", "P1 [атм]", "Статус"}, {{"01.12.2016", "5", ""}, {"02.12.2016", "7", ""}}}, 0, "P1 [атм]", "6"},
        {"the last column has no total", {{"Дата и время", "V1 [м3]"}, {{"01.12.2016", "1"}}}, 0, "V1 [м3]", "(none)"},
        {"status has no total", {{"Дата и время", "Статус", "V1 [м3]"}, {{"01.12.2016", "Обрыв", "1"}}}, 0, "Статус", "(none)"},
    };
    for (const Case& c : cases) {
        const SheetLayout layout = layoutOf(c.table, FillFieldList(c.table.columnTitles), c.modeTimeIndex);
        EXPECT_EQ(totalUnder(layout, c.column), c.total) << c.what;
    }

    TableSnapshot ten{{"Дата и время", "tраб", "Статус"}, {}};
    for (int day = 0; day < 10; ++day)
        ten.rows.push_back({"01.12.2016", "10:00:00", ""});
    EXPECT_EQ(totalUnder(layoutOf(ten, FillFieldList(ten.columnTitles), 0), "tраб"), "100:0:0");
}

TEST(SheetLayout, HourlyArchive)
{
    const TableSnapshot table{{"Дата и время", "V1 [м3]", "T1 [°С]", "tреж", "Статус"},
                              {{"05:01.12.2016", "1,5", "20", "01:00:00", "Обрыв"},
                               {"06:01.12.2016 - данные отсутствуют"},
                               {"Ошибка CRC"},
                               {"07:01.12.2016", "abc", "50", "00:30:00", ""}}};
    const SheetLayout layout = layoutOf(table, FillFieldList(table.columnTitles), 4);
    auto text = [](std::uint32_t row, std::uint32_t column, const char* t, bool bold = false) {
        return SheetCell{row, column, t, std::nullopt, bold};
    };
    auto number = [](std::uint32_t row, std::uint32_t column, const char* t, double v, bool bold = false) {
        return SheetCell{row, column, t, v, bold};
    };
    const std::vector<SheetCell> expected = {
        text(1, 1, "X-A40 1 1234"),
        text(2, 1, "Дата и время"), text(2, 2, "V1 [м3]"), text(2, 3, "T1 [°С]"), text(2, 4, "tреж"), text(2, 5, "Статус"),
        text(3, 1, "05:01.12.2016"), number(3, 2, "1,5", 1.5), number(3, 3, "20", 20), text(3, 4, "01:00:00"), text(3, 5, "Обрыв"),
        text(4, 1, "06:01.12.2016 - данные отсутствуют"),
        text(5, 1, "Ошибка CRC"),
        // A text that is no number stays a text and adds nothing.
        text(6, 1, "07:01.12.2016"), text(6, 2, "abc"), number(6, 3, "50", 50), text(6, 4, "00:30:00"), text(6, 5, ""),
        // The last running time resets the divisor to the running seconds, so
        // the message rows before it do not dilute the temperature.
        text(7, 1, "Итого:", true), number(7, 2, "1,5", 1.5, true), number(7, 3, "30", 30, true), text(7, 4, "1:30:0", true),
    };
    EXPECT_EQ(layout.cells, expected);
}

TEST(SheetLayout, DeselectedAndForeignColumns)
{
    TableSnapshot table{{"Дата и время", "V1 [м3]", "T1 [°С]", "V2 [м3]", "Статус", "", ""},
                        {{"05.03.2017", "1", "20", "3", "", "13", "50317"}}};
    AFieldsList fields = FillFieldList(table.columnTitles);
    fields.FieldItem[2].Flag = false;
    // Titled after the list was built, as the Modbus archive columns are.
    table.columnTitles[5] = "Час архива";
    table.columnTitles[6] = "Дата архива";
    const Cells cells = cellsOf(layoutOf(table, fields, 0));
    auto text = [&](std::uint32_t row, std::uint32_t column) {
        const auto found = cells.find({row, column});
        return found == cells.end() ? std::string("-") : found->second.text;
    };
    for (const auto& [row, texts] : std::vector<std::pair<std::uint32_t, std::vector<std::string>>>{
             {2, {"Дата и время", "V1 [м3]", "V2 [м3]", "Статус", "-", "-"}},
             {3, {"05.03.2017", "1", "3", "", "-", "-"}},
             {4, {"Итого:", "1", "3", "-", "-", "-"}},
         }) {
        for (std::uint32_t column = 1; column <= texts.size(); ++column)
            EXPECT_EQ(text(row, column), texts[column - 1]) << "row " << row << ", column " << column;
    }
}

TEST(SheetLayout, CurrentDataKeepsItsCaptionOnly)
{
    const TableSnapshot table{{"Дата и время", "V1 [м3]", "Статус"}, {{"10.12.2026 20:45:12", "1", ""}}};
    const SheetLayout layout = layoutOf(table, FillFieldList(table.columnTitles), 0);
    const Cells cells = cellsOf(layout);
    EXPECT_EQ(cells.at({3, 1}).text, "10.12.2026 20:45:12");
    EXPECT_FALSE(cells.contains({3, 2}));
    EXPECT_EQ(cells.at({4, 2}).number, 0.0);
}

TEST(SheetLayout, DurationTexts)
{
    EXPECT_EQ(durationSeconds("25:01:01"), 90061.0);
    EXPECT_EQ(durationSeconds("100:00:10"), 360010.0);
    for (const char* broken : {"", "12:00", "1:2:3:4", "aa:bb:cc", "01::00", "-1:00:00"})
        EXPECT_EQ(durationSeconds(broken), std::nullopt) << broken;
}

}  // namespace
}  // namespace orvanic
