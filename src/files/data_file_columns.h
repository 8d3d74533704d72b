#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/short_text.h"

namespace orvanic {

inline constexpr std::string_view kDateColumnTitle = "Дата и время";
inline constexpr std::string_view kStatusColumnTitle = "Статус";

// What a value column holds, told by its title as the table shows it.
enum class ColumnKind { Plain, Energy, TimeCounter, Status };
ColumnKind columnKind(std::string_view title);

// The name a device field is stored under: its entry up to the first space
// or '[', i.e. without the unit the program added ("Q1 [м3/ч]" -> "Q1").
std::string storedFieldName(const ShortText& entry);

// A stored field name (UTF-8) as a column title: with the unit its first
// letters stand for, or "Статус" for the status field ("S...").
bool isStoredStatusName(std::string_view name);
std::string columnTitleFor(std::string_view name, std::uint8_t devTypeEnergy);

}  // namespace orvanic
