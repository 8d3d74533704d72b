#pragma once

#include <string>
#include <string_view>

#include "acquire/record_decoder.h"

namespace orvanic {

// Captions of the rows that report a failed exchange instead of values.
inline constexpr std::string_view kCrcErrorCaption = "Ошибка CRC";
inline constexpr std::string_view kNoDataCaption = " - данные отсутствуют";
inline constexpr std::string_view kStructureErrorCaption = " - Ошибка структуры данных";

// Row pictures, by their index in the table's image list.
enum class RowIcon { Plain = 0, Ok = 3, Stopped = 4 };

// A row shows its values only when its caption is shorter than the limit
// (20 for polls, 14 for archive rows) and is not the checksum error.
bool isDataRowCaption(const std::string& caption, std::size_t limit);
// A stopped meter ("tраб" 00:00:00) before a clean status before the rest.
RowIcon dataRowIcon(const RowTexts& texts, const SpecialFieldIndexes& indexes);

}  // namespace orvanic
