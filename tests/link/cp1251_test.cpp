#include <gtest/gtest.h>

#include <iconv.h>

#include "link/cp1251.h"

namespace orvanic {
namespace {

// glibc's converter is the independent reference for the table.
std::string iconvToUtf8(std::uint8_t byte)
{
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    char in = static_cast<char>(byte);
    char out[8] = {};
    char* inPtr = &in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return r == static_cast<std::size_t>(-1) ? std::string() : std::string(out, outPtr);
}

TEST(Cp1251, EveryByteMatchesGlibcAndRoundTrips)
{
    for (unsigned b = 1; b < 256; ++b) {
        const std::string reference = iconvToUtf8(static_cast<std::uint8_t>(b));
        const std::string ours = cp1251ToUtf8(std::string(1, static_cast<char>(b)));
        if (reference.empty()) {
            EXPECT_EQ(b, 0x98u) << "only 0x98 has no character";
            continue;
        }
        EXPECT_EQ(ours, reference) << std::hex << b;
        EXPECT_EQ(utf8ToCp1251(ours), std::string(1, static_cast<char>(b))) << std::hex << b;
    }
}

TEST(Cp1251, UnrepresentableBecomesQuestionMark)
{
    EXPECT_EQ(utf8ToCp1251("Ж€°я€漢é"), "\xC6\x88\xB0\xFF\x88??");
    EXPECT_EQ(utf8ToCp1251("Log=1;"), "Log=1;");
}

}  // namespace
}  // namespace orvanic
