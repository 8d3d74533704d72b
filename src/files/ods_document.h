#pragma once

#include <filesystem>
#include <optional>

#include "app/messages.h"
#include "files/sheet_layout.h"

namespace orvanic {

// An OpenDocument spreadsheet of one sheet "Лист1" holding every cell as
// text. On failure no file is left behind and the message names it.
std::optional<UserMessage> writeOdsDocument(const std::filesystem::path& file, const SheetLayout& layout);

}  // namespace orvanic
