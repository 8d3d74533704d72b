#include "link/device_text.h"

namespace orvanic {

char32_t deviceCharToUnicode(char32_t code)
{
    if (code >= 0x84 && code <= 0x88)
        return U'Д' + (code - 0x84);
    if (code >= 0x8A && code <= 0x90)
        return U'К' + (code - 0x8A);
    if (code >= 0xA0 && code <= 0xAF)
        return U'а' + (code - 0xA0);
    if (code >= 0xE2 && code <= 0xEC)
        return U'т' + (code - 0xE2);
    switch (code) {
    case 0x91: return U'C';  // Latin: the device has no Cyrillic С
    case 0xD2: return U'Т';
    case 0xE0: return U'р';
    case 0xE1: return U'c';  // Latin, as above
    default: return U'?';
    }
}

void StrAnChar(std::u32string& text, std::int32_t i)
{
    if (i < 1 || static_cast<std::size_t>(i) > text.size())
        return;
    text[static_cast<std::size_t>(i - 1)] = deviceCharToUnicode(text[static_cast<std::size_t>(i - 1)]);
}

}  // namespace orvanic
