#include <gtest/gtest.h>

#include "link/cp1251.h"
#include "link/device_text.h"

namespace orvanic {
namespace {

// The device code page written out as runs, independently of the decoder.
char32_t expectedDeviceLetter(unsigned code)
{
    static const std::u32string runs[][2] = {
        {U"\x84", U"ДЕЖЗИ"},
        {U"\x8A", U"КЛМНОПР"},
        {U"\x91", U"C"},
        {U"\xA0", U"абвгдежзийклмноп"},
        {U"\xD2", U"Т"},
        {U"\xE0", U"рc"},
        {U"\xE2", U"туфхцчшщъыь"},
    };
    for (const auto& run : runs) {
        const unsigned first = run[0][0];
        if (code >= first && code < first + run[1].size())
            return run[1][code - first];
    }
    return U'?';
}

TEST(StrAnChar, WholeCodePage)
{
    for (unsigned code = 0; code < 256; ++code) {
        std::u32string text = {U'x', char32_t(code), U'y'};
        StrAnChar(text, 2);
        EXPECT_EQ(text, (std::u32string{U'x', expectedDeviceLetter(code), U'y'})) << std::hex << code;
    }
}

TEST(StrAnChar, DecodesNamesInPlace)
{
    const std::pair<std::u32string, std::u32string> names[] = {
        {U"\x74\xE0\xA0\xA1", U"tраб"},
        {U"\x74\xE0\xA5\xA6", U"tреж"},
        {U"\x8E\xA1\xE0\xEB\xA2", U"Обрыв"},
    };
    for (auto [text, expected] : names) {
        for (std::int32_t i = 1; i <= static_cast<std::int32_t>(text.size()); ++i) {
            if (text[i - 1] >= 0x80)
                StrAnChar(text, i);
        }
        EXPECT_EQ(u32ToUtf8(text), u32ToUtf8(expected));
    }
}

TEST(StrAnChar, PositionsOutsideTheTextChangeNothing)
{
    std::u32string text = U"\xE0";
    StrAnChar(text, 0);
    StrAnChar(text, 2);
    EXPECT_EQ(text, U"\xE0");
}

}  // namespace
}  // namespace orvanic
