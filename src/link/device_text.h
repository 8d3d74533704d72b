#pragma once

#include <cstdint>
#include <string>

namespace orvanic {

// The letter a byte of the device's own code page stands for; bytes the
// device never uses for letters (and every byte below 0x80) give '?'.
char32_t deviceCharToUnicode(char32_t code);

// Replaces the character at 1-based position i of `text` by the letter it
// stands for in the device code page. Other positions are untouched.
void StrAnChar(std::u32string& text, std::int32_t i);

}  // namespace orvanic
