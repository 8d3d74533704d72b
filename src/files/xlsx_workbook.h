#pragma once

#include <filesystem>
#include <optional>

#include "app/messages.h"
#include "files/sheet_layout.h"

namespace orvanic {

// An Excel workbook of one sheet "Лист1": numbers as numbers, bold where the
// layout asks. On failure no file is left behind and the message names it.
std::optional<UserMessage> writeXlsxWorkbook(const std::filesystem::path& file, const SheetLayout& layout);

}  // namespace orvanic
