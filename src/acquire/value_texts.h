#pragma once

#include <span>
#include <string>
#include <string_view>

#include "link/short_text.h"

namespace orvanic {

// Time counters and status words stay far below 10^18; a device value at or
// beyond it, or no number at all, is no count and is shown as a plain number.
bool isCounterValue(float value);

// A time counter (units of 10 s) as hours:minutes:seconds, hours at least
// two digits: 12345 gives 34:17:30.
std::string TimeDecode(float value);
// Back from such a text; a text that is no time text gives 0.
float TimeDecodeS(std::string_view text);

// The names of the status bits set in the word, in bit order, joined by ", ".
std::string StatusDecode(float value, std::span<const ShortText> statusNames);
// Back from such a text: the sum of the bits whose names it lists.
float DecodeStatusS(std::string_view text, std::span<const ShortText> statusNames);

// A device value as the table shows it: the nearest decimal of at most 15
// significant digits, trailing zeros dropped, "E" form outside 0.0001 ..
// 10^15, with the given decimal separator.
std::string numberText(float value, std::string_view decimalSeparator);
// The same form for a double, such as a sum over many values.
std::string decimalText(double value, std::string_view decimalSeparator);

}  // namespace orvanic
