#include "link/cp1251.h"

#include <array>

namespace orvanic {
namespace {

// 0x80..0xBF; 0xC0..0xFF are А..я in order. 0x98 has no character.
constexpr std::array<char32_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

}  // namespace

char32_t cp1251ToUnicode(std::uint8_t byte)
{
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return 0x0410 + (byte - 0xC0);
    return kHighHalf[byte - 0x80];
}

std::uint8_t unicodeToCp1251(char32_t ch)
{
    if (ch < 0x80)
        return static_cast<std::uint8_t>(ch);
    if (ch >= 0x0410 && ch <= 0x044F)
        return static_cast<std::uint8_t>(0xC0 + (ch - 0x0410));
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == ch && ch != 0xFFFD)
            return static_cast<std::uint8_t>(0x80 + i);
    }
    return '?';
}

std::string cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes)
        appendUtf8(out, cp1251ToUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

std::string utf8ToCp1251(std::string_view utf8)
{
    std::string out;
    for (char32_t ch : utf8ToU32(utf8))
        out.push_back(static_cast<char>(unicodeToCp1251(ch)));
    return out;
}

void appendUtf8(std::string& out, char32_t ch)
{
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

std::string u32ToUtf8(std::u32string_view text)
{
    std::string out;
    for (char32_t ch : text)
        appendUtf8(out, ch);
    return out;
}

std::u32string utf8ToU32(std::string_view utf8)
{
    std::u32string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        int extra = 0;
        char32_t ch = 0;
        if (lead < 0x80) {
            ch = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            ch = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            ch = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            ch = lead & 0x07;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (i + extra >= utf8.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            ch = (ch << 6) | (next & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(ch);
        i += extra + 1;
    }
    return out;
}

}  // namespace orvanic
