#pragma once

#include <string>
#include <vector>

#include "acquire/record_decoder.h"

namespace orvanic::cli {

// A poll row shows its values when its caption is shorter than this.
inline constexpr std::size_t kPollCaptionLimit = 20;

// One line of tab-separated cells on stdout.
void printCells(const std::vector<std::string>& cells);
// A table row: its caption, then its values when it is a data row.
std::vector<std::string> rowCells(const RowTexts& texts, std::size_t columns, std::size_t captionLimit);
void printRow(const RowTexts& texts, std::size_t columns, std::size_t captionLimit);

// DD.MM.YYYY HH:MM:SS of the local clock.
std::string captionNow();
// The decimal separator of LC_ALL / LC_NUMERIC; "." in the C locale.
std::string decimalSeparator();

// "--count N" among a command's arguments; false (after a message) when
// it is malformed. Leaves `count` alone when absent.
bool countOption(const std::vector<std::string>& arguments, int& count);

}  // namespace orvanic::cli
