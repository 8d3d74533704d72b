#include "device_text.h"

#include <array>
#include <optional>

namespace orvanic::sim {

namespace {

struct LetterRange {
    char32_t first;
    char32_t last;
    std::uint8_t firstByte;
};

// The device's code page only has these letters. С and с sit where the
// program expects them although it shows them as Latin C and c.
constexpr std::array<LetterRange, 5> kLetters{{
    {U'Д', U'И', 0x84},
    {U'К', U'С', 0x8A},
    {U'Т', U'Т', 0xD2},
    {U'а', U'п', 0xA0},
    {U'р', U'ь', 0xE0},
}};

constexpr std::uint8_t kUnknown = '?';

std::optional<std::uint8_t> deviceLetter(char32_t letter)
{
    for (const LetterRange& range : kLetters) {
        if (letter >= range.first && letter <= range.last)
            return static_cast<std::uint8_t>(range.firstByte + (letter - range.first));
    }
    return std::nullopt;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes one UTF-8 sequence at `pos`; a broken sequence yields nothing and
// consumes one byte so that it ends up as a single '?'.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int extra = 0;
    char32_t value = 0;
    if (lead < 0x80)
        return lead;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + static_cast<std::size_t>(extra) > text.size())
        return std::nullopt;
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    pos += static_cast<std::size_t>(extra);
    return value;
}

}  // namespace

Bytes encodeDeviceText(std::string_view utf8)
{
    Bytes out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (utf8[pos] == '\\' && pos + 3 < utf8.size() && utf8[pos + 1] == 'x') {
            const int high = hexDigit(utf8[pos + 2]);
            const int low = hexDigit(utf8[pos + 3]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<std::uint8_t>(high * 16 + low));
                pos += 4;
                continue;
            }
        }
        const std::optional<char32_t> letter = decodeUtf8(utf8, pos);
        if (!letter) {
            out.push_back(kUnknown);
        } else if (*letter < 0x80) {
            out.push_back(static_cast<std::uint8_t>(*letter));
        } else {
            out.push_back(deviceLetter(*letter).value_or(kUnknown));
        }
    }
    return out;
}

}  // namespace orvanic::sim
