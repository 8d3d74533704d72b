#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/messages.h"
#include "files/fields_list.h"
#include "files/table_snapshot.h"

namespace orvanic {

// The CSV text in Windows-1251, CR LF after every line and ";" after every
// field: "name number;", the titles of the selected columns, then a line
// per row (its caption, and for data rows the selected cells). A column is
// written only while its title is the one its selection entry was made for.
std::string formatCsv(const TableSnapshot& table, const AFieldsList& fields, const std::string& deviceName,
                      const std::string& deviceNumber);

// Writes it atomically; a message naming the file when it cannot be written.
std::optional<UserMessage> writeCsvFile(const std::filesystem::path& file, const std::string& csv);

}  // namespace orvanic
