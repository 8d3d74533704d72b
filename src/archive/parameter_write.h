#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/messages.h"
#include "archive/parameter_read.h"

namespace orvanic {

// The value texts of each page's grid, parameter rows in order (the
// header row left out).
using ParameterTexts = ParameterPages;
// The same, as numbers.
using ParameterValues = std::array<std::vector<double>, kParameterPageCount>;

// A grid text that is not a number: its page (0-based), its parameter's
// row (1-based, as the grid counts it below the header) and the text.
struct BadParameterText {
    std::size_t page = 0;
    std::size_t row = 0;
    std::string text;
    bool operator==(const BadParameterText&) const = default;
};

// Every text as a number written with the regional decimal separator, or
// the first one in page and row order that is none.
std::variant<ParameterValues, BadParameterText> convertParameterTexts(const ParameterTexts& texts,
                                                                      std::string_view decimalSeparator);

// "The text of parameter N on page P is not a number", for the operator.
UserMessage badParameterTextMessage(const BadParameterText& bad);

// Said when every text is a number: without a catalogue of the device's
// parameters there is no register to write any of them to.
UserMessage nothingToWriteMessage();

}  // namespace orvanic
