#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/data_file_columns.h"
#include "link/self_description.h"

namespace orvanic {

// How the cells of one value column become the file's 4 value bytes and back.
// A word holds the bytes as the file orders them, the first in its low 8 bits.
struct CellRule {
    ColumnKind kind = ColumnKind::Plain;
    bool integerCounters = false;  // time counters and status as 32-bit integers
    bool gigacalories = false;     // energy shown in Гкал; files hold GJ
    std::span<const ShortText> statusNames;
    std::string_view decimalSeparator;
};

// C10.x devices count time and status in integers, the others in singles.
bool storesIntegers(TOrvanDevice model);

// nullopt when a cell that must hold a number does not.
std::optional<std::uint32_t> cellWord(std::string_view text, const CellRule& rule);
std::string cellText(std::uint32_t word, const CellRule& rule);

// A decimal number written with the given separator, optionally signed and
// with an "E" exponent, within the range of a single.
std::optional<double> parseNumber(std::string_view text, std::string_view decimalSeparator);

}  // namespace orvanic
