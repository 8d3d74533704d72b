#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "acquire/value_texts.h"

namespace orvanic {
namespace {

TEST(TimeText, BothWays)
{
    const std::pair<float, const char*> cases[] = {
        {0, "00:00:00"},        {1, "00:00:10"},         {360, "01:00:00"},  {12345, "34:17:30"},
        {123456, "342:56:00"},  {360000, "1000:00:00"},  {0.3f, "00:00:03"}, {499999.9f, "1388:53:19"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(TimeDecode(value), text) << value;
        EXPECT_NEAR(TimeDecodeS(text), value, 0.1) << text;
    }
    for (const char* notATime : {"", "12", "1:2:3", "ab:cd:ef", "01:00"})
        EXPECT_EQ(TimeDecodeS(notATime), 0.0f) << notATime;
}

TEST(StatusText, BothWays)
{
    const std::vector<ShortText> names = {ShortText::fromUtf8("N0"), ShortText::fromUtf8("N1"), ShortText::fromUtf8("N2")};
    const std::pair<float, const char*> cases[] = {{5, "N0, N2"}, {7, "N0, N1, N2"}, {0, ""}, {2.9f, "N1"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(StatusDecode(value, names), text) << value;
        EXPECT_EQ(DecodeStatusS(text, names), std::trunc(value)) << text;
    }
    EXPECT_EQ(StatusDecode(8, names), "") << "bit 3 has no name";
    EXPECT_EQ(DecodeStatusS("N1, X", names), 2.0f);
    const std::vector<ShortText> russian = {ShortText::fromUtf8("Обрыв"), ShortText::fromUtf8("Перегрузка")};
    EXPECT_EQ(StatusDecode(3, russian), "Обрыв, Перегрузка");
    EXPECT_EQ(DecodeStatusS("Обрыв, Перегрузка", russian), 3.0f);
}

TEST(CounterTexts, AnySingleIsSafe)
{
    // No count reaches 10^18; the tables show such values as numbers. The
    // texts still come out of any single without undefined behaviour, which
    // the sanitizer build checks.
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<ShortText> names(50, ShortText::fromUtf8("N"));
    for (float v : {1e18f, -1e18f, 3.4e38f, -3.4e38f, inf, -inf, std::nanf("")}) {
        EXPECT_FALSE(isCounterValue(v)) << v;
        EXPECT_FALSE(TimeDecode(v).empty()) << v;
        (void)StatusDecode(v, names);
    }
    for (float v : {0.0f, 9.9e17f, -9.9e17f, 12345.0f})
        EXPECT_TRUE(isCounterValue(v)) << v;
}

TEST(NumberText, FifteenDigitsFixedOrE)
{
    const std::pair<float, const char*> cases[] = {
        {100.0f, "100"},
        {12.5f, "12.5"},
        {23.8846f, "23.8845996856689"},
        {0.1f, "0.100000001490116"},
        {std::ldexp(1.0f, -17), "7.62939453125E-6"},
        {0.0001f, "9.99999974737875E-5"},
        {1e20f, "1.00000002004088E20"},
        {-1.5f, "-1.5"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {4294967296.0f, "4294967296"},
        {0.00025f, "0.000250000011874363"},
        {1e15f, "999999986991104"},
        {1e16f, "1.00000002725642E16"},
        {std::numeric_limits<float>::quiet_NaN(), "NAN"},
        {-std::numeric_limits<float>::infinity(), "-INF"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(numberText(value, "."), text) << value;
    EXPECT_EQ(numberText(12.5f, ","), "12,5");
    EXPECT_EQ(numberText(100.0f * 0.238846f, ","), "23,8845996856689");
    // Sums keep the double's digits.
    EXPECT_EQ(decimalText(0.1 + 0.2, ","), "0,3");
    EXPECT_EQ(decimalText(162000.0 / 5400.0, "."), "30");
}

}  // namespace
}  // namespace orvanic
