#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/messages.h"
#include "files/fields_list.h"

namespace orvanic {

// A device's field-set file: the program folder, the device name with its
// spaces (and path separators) as "_", then ".cfg".
std::filesystem::path fieldSetFileName(const std::string& programFolder, const std::string& deviceName);

// One line per column in Windows-1251: "name#1" or "name#0", CR LF. Column 0
// is always written as selected.
std::string formatFieldSet(const std::vector<std::string>& names, const std::vector<bool>& checks);
std::optional<UserMessage> saveFieldSetFile(const std::filesystem::path& file, const std::vector<std::string>& names,
                                            const std::vector<bool>& checks);

// Applies a field-set file to the check boxes: a line names a column (the
// first of that name) and ticks or clears it; "Дата и время" always ticks
// column 0; unknown names change nothing. A malformed line stops reading
// with a message, the lines before it staying applied.
std::optional<UserMessage> loadFieldSetFile(const std::filesystem::path& file, const std::vector<std::string>& names,
                                            std::vector<bool>& checks);
std::optional<UserMessage> applyFieldSet(const std::string& content, const std::vector<std::string>& names,
                                         std::vector<bool>& checks);

// The check boxes into the selection: column 0 always selected, FixCount
// counting the selected columns.
void applySelection(AFieldsList& list, const std::vector<bool>& checks);

}  // namespace orvanic
