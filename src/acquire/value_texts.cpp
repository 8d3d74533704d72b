#include "acquire/value_texts.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orvanic {
namespace {

constexpr float kLargestCounter = 1e18f;

// Trunc(x) as a 64-bit integer. Outside that range the conversion itself
// would be undefined, so it stops at the range's ends (not a number: 0).
std::int64_t wholePart(double x)
{
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (std::isnan(x))
        return 0;
    if (x >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (x <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::trunc(x));
}

std::string twoDigits(std::int64_t n)
{
    return (n >= 0 && n <= 9 ? "0" : "") + std::to_string(n);
}

bool readNumber(std::string_view digits, float& out)
{
    if (digits.empty())
        return false;
    std::int64_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9' || n > 100000000)
            return false;
        n = n * 10 + (c - '0');
    }
    out = static_cast<float>(n);
    return true;
}

void dropTrailingZeros(std::string& fraction)
{
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
}

}  // namespace

bool isCounterValue(float value)
{
    return std::fabs(value) < kLargestCounter;
}

std::string TimeDecode(float value)
{
    float t = value * 10.0f;
    const std::int64_t h = wholePart(static_cast<double>(t) / 3600.0);
    std::string text = twoDigits(h) + ":";
    t = static_cast<float>(static_cast<double>(t) - static_cast<double>(h) * 3600.0);
    const std::int64_t m = wholePart(static_cast<double>(t) / 60.0);
    text += twoDigits(m) + ":";
    t = static_cast<float>(static_cast<double>(t) - static_cast<double>(m) * 60.0);
    text += twoDigits(wholePart(t));
    return text;
}

float TimeDecodeS(std::string_view text)
{
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos || text.size() < first + 6 || text[first + 3] != ':')
        return 0.0f;
    float h = 0, m = 0, s = 0;
    if (!readNumber(text.substr(0, first), h) || !readNumber(text.substr(first + 1, 2), m)
        || !readNumber(text.substr(first + 4, 2), s))
        return 0.0f;
    return static_cast<float>(static_cast<double>(h) * 360.0 + static_cast<double>(m) * 6.0 + static_cast<double>(s) / 10.0);
}

std::string StatusDecode(float value, std::span<const ShortText> statusNames)
{
    const std::int64_t w = wholePart(value);
    std::string text;
    for (std::size_t i = 0; i < statusNames.size() && i < 63; ++i) {
        if ((w & (std::int64_t{1} << i)) == 0)
            continue;
        if (!text.empty())
            text += ", ";
        text += statusNames[i].utf8();
    }
    return text;
}

float DecodeStatusS(std::string_view text, std::span<const ShortText> statusNames)
{
    float result = 0.0f;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t comma = text.find(',', p);
        const std::string_view name = text.substr(p, comma == std::string_view::npos ? std::string_view::npos : comma - p);
        for (std::size_t k = 0; k < statusNames.size(); ++k) {
            if (statusNames[k].utf8() == name)
                result = static_cast<float>(static_cast<double>(result) + std::ldexp(1.0, static_cast<int>(k)));
        }
        if (comma == std::string_view::npos)
            break;
        p = comma + 2;  // past ", "
    }
    return result;
}

std::string numberText(float value, std::string_view decimalSeparator)
{
    return decimalText(static_cast<double>(value), decimalSeparator);
}

std::string decimalText(double value, std::string_view decimalSeparator)
{
    if (value == 0.0)
        return "0";
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    // 15 significant digits, rounded once: d.dddddddddddddde±x.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const std::string formatted = buffer;
    const bool negative = formatted[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t ePos = formatted.find('e');
    std::string digits = formatted.substr(start, 1) + formatted.substr(start + 2, ePos - start - 2);
    const int exponent = std::atoi(formatted.c_str() + ePos + 1);

    std::string text = negative ? "-" : "";
    if (exponent >= -4 && exponent < 15) {
        std::string whole, fraction;
        if (exponent >= 0) {
            whole = digits.substr(0, static_cast<std::size_t>(exponent) + 1);
            fraction = digits.substr(static_cast<std::size_t>(exponent) + 1);
        } else {
            whole = "0";
            fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
        dropTrailingZeros(fraction);
        text += whole;
        if (!fraction.empty())
            text += std::string(decimalSeparator) + fraction;
        return text;
    }
    std::string fraction = digits.substr(1);
    dropTrailingZeros(fraction);
    text += digits.substr(0, 1);
    if (!fraction.empty())
        text += std::string(decimalSeparator) + fraction;
    return text + "E" + std::to_string(exponent);
}

}  // namespace orvanic
