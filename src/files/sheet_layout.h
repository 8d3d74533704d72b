#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/fields_list.h"
#include "files/table_snapshot.h"

namespace orvanic {

// One cell of the exported sheet, rows and columns counted from 1. `text` is
// what a text-only sheet shows; `number` is set where a workbook that keeps
// numbers should hold one instead.
struct SheetCell {
    std::uint32_t row = 1;
    std::uint32_t column = 1;
    std::string text;
    std::optional<double> number;
    bool bold = false;

    bool operator==(const SheetCell&) const = default;
};

struct SheetLayout {
    std::vector<SheetCell> cells;  // in row order, left to right
};

struct SheetSource {
    const TableSnapshot& table;
    const AFieldsList& fields;
    std::string deviceName;
    std::string deviceNumber;
    std::int32_t modeTimeIndex = 0;  // 1-based index of the "tреж" column, as the device gives it
    std::string decimalSeparator;
};

// The sheet of the spreadsheet exports: name and number, the shown column
// titles, every row (values for archive data rows only) and the "Итого:" row
// with sums, time-weighted averages, plain averages and summed durations.
SheetLayout sheetLayout(const SheetSource& source);

// The widest text of each sheet column, in characters (index 0 is column 1),
// so that writers can size the columns to their contents.
std::vector<std::size_t> columnCharacters(const SheetLayout& layout);

// Seconds in a duration text "h:mm:ss" (any number of hour digits);
// nullopt when the text is no such duration.
std::optional<double> durationSeconds(const std::string& text);

}  // namespace orvanic
