#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "app/messages.h"

namespace orvanic {

// The name rule of the save dialogs: a chosen name not ending in the
// extension (compared case-sensitively) gets it appended, so abc becomes
// abc.csv and report.CSV becomes report.CSV.csv; a name that is the
// extension alone is refused with "Имя файла не задано".
std::variant<std::filesystem::path, UserMessage> exportFileName(const std::string& chosen, std::string_view extension);

}  // namespace orvanic
