#pragma once

// The program's own data file (.dat): a result table with the description of
// the device it came from. The byte layout is drawn in data_file_format.h.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "acquire/table_row.h"
#include "app/messages.h"
#include "files/table_snapshot.h"
#include "link/self_description.h"

namespace orvanic {

struct SaveContext {
    const TOrvanicStruct& description;  // the device the table came from
    std::uint8_t columnCount;           // FieldsList.Count: the number of table columns
    std::uint8_t devTypeEnergy;         // 1: energy columns are shown in Гкал
    std::string decimalSeparator;       // the one the table's number texts use
};

// The save dialog's name rule: ".dat" is added unless the name already ends
// with it (abc -> abc.dat, report.DAT -> report.DAT.dat). A name that is
// only ".dat" (or nothing) after its folder is refused.
std::variant<std::filesystem::path, UserMessage> dataFileName(const std::string& chosen);

// Checks the whole table, then writes the file atomically. A message on any
// failure (nothing written then, an existing file untouched); nullopt on success.
std::optional<UserMessage> saveDataFile(const std::filesystem::path& file, const TableSnapshot& table,
                                        const SaveContext& context);

struct OpenedDataFile {
    TOrvanicStruct description;  // name, number, fields, formats, statuses, archive type as read
    SpecialFieldIndexes indexes;
    TOrvanDevice devType = TOrvanDevice::none;
    std::string headerText;  // "Архивные данные <name> №<number>"; empty when the file could not be read
    TableSnapshot table;     // every row complete: caption and a cell per value column
    std::vector<RowIcon> icons;  // one per row
    // Set when the file is unreadable or damaged; what was read consistently is kept.
    std::optional<UserMessage> problem;
};
OpenedDataFile openDataFile(const std::filesystem::path& file, std::uint8_t devTypeEnergy,
                            const std::string& decimalSeparator);

}  // namespace orvanic
