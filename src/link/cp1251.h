#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvanic {

// Windows-1251, the single-byte code page of the program's files and logs.
char32_t cp1251ToUnicode(std::uint8_t byte);
// A character Windows-1251 cannot hold becomes '?'.
std::uint8_t unicodeToCp1251(char32_t ch);

std::string cp1251ToUtf8(std::string_view bytes);
std::string utf8ToCp1251(std::string_view utf8);

// UTF-8 <-> code points. Malformed UTF-8 input gives U+FFFD for each bad byte.
std::u32string utf8ToU32(std::string_view utf8);
std::string u32ToUtf8(std::u32string_view text);
void appendUtf8(std::string& out, char32_t ch);

}  // namespace orvanic
