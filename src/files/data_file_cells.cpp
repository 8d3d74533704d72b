#include "files/data_file_cells.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

#include "acquire/value_texts.h"
#include "link/value_codec.h"

namespace orvanic {
namespace {

// Shown Гкал = stored GJ x this single, as the live table computes it.
constexpr float kGigacaloriesPerGigajoule = 0.238846f;

float wordAsSingle(std::uint32_t word)
{
    return DecodeFloat(static_cast<std::uint8_t>(word >> 24), static_cast<std::uint8_t>(word >> 16),
                       static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word));
}

std::uint32_t singleWord(float value)
{
    return std::bit_cast<std::uint32_t>(value);
}

// The integer part, kept to its low 32 bits as a 32-bit integer store does.
std::uint32_t integerWord(float value)
{
    const double whole = std::trunc(static_cast<double>(value));
    if (!(std::fabs(whole) < 9.0e18))
        return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(whole));
}

// Dividing the shown Гкал text by the factor misses the GJ single the device
// sent by one step for about one value in five, so the neighbour the table
// would show as this very text is taken when there is one.
std::optional<float> gigajoules(double shown, std::string_view text, std::string_view separator)
{
    const double divided = shown / 0.238846;
    const float largest = std::numeric_limits<float>::max();
    if (!(std::fabs(divided) <= largest))
        return std::nullopt;
    const auto nearest = static_cast<float>(divided);
    for (float candidate : {nearest, std::nextafter(nearest, largest), std::nextafter(nearest, -largest)}) {
        if (numberText(candidate * kGigacaloriesPerGigajoule, separator) == text)
            return candidate;
    }
    return nearest;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Copies a run of digits; returns how many.
std::size_t takeDigits(std::string_view text, std::size_t& pos, std::string& out)
{
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos]))
        out.push_back(text[pos++]);
    return pos - start;
}

}  // namespace

bool storesIntegers(TOrvanDevice model)
{
    return model == TOrvanDevice::mcuC101 || model == TOrvanDevice::mcuC102 || model == TOrvanDevice::mcuC103;
}

std::optional<double> parseNumber(std::string_view text, std::string_view decimalSeparator)
{
    std::string plain;  // the same number with '.' for the separator
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        if (text[pos] == '-')
            plain.push_back('-');
        ++pos;
    }
    std::size_t digits = takeDigits(text, pos, plain);
    if (!decimalSeparator.empty() && text.substr(pos).starts_with(decimalSeparator)) {
        plain.push_back('.');
        pos += decimalSeparator.size();
        digits += takeDigits(text, pos, plain);
    }
    if (digits == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        plain.push_back('e');
        ++pos;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
            plain.push_back(text[pos++]);
        if (takeDigits(text, pos, plain) == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()
        || !(std::fabs(value) <= std::numeric_limits<float>::max()))
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> cellWord(std::string_view text, const CellRule& rule)
{
    switch (rule.kind) {
    case ColumnKind::TimeCounter:
    case ColumnKind::Status: {
        const float value = rule.kind == ColumnKind::TimeCounter ? TimeDecodeS(text) : DecodeStatusS(text, rule.statusNames);
        return rule.integerCounters ? integerWord(value) : singleWord(value);
    }
    case ColumnKind::Energy:
    case ColumnKind::Plain: break;
    }
    const auto number = parseNumber(text, rule.decimalSeparator);
    if (!number)
        return std::nullopt;
    if (rule.kind == ColumnKind::Energy && rule.gigacalories) {
        const auto stored = gigajoules(*number, text, rule.decimalSeparator);
        return stored ? std::optional(singleWord(*stored)) : std::nullopt;
    }
    return singleWord(static_cast<float>(*number));
}

std::string cellText(std::uint32_t word, const CellRule& rule)
{
    if (rule.kind == ColumnKind::Energy || rule.kind == ColumnKind::Plain) {
        float value = wordAsSingle(word);
        if (rule.kind == ColumnKind::Energy && rule.gigacalories)
            value = value * kGigacaloriesPerGigajoule;
        return numberText(value, rule.decimalSeparator);
    }
    const float value = rule.integerCounters ? static_cast<float>(std::bit_cast<std::int32_t>(word)) : wordAsSingle(word);
    if (!isCounterValue(value))
        return numberText(value, rule.decimalSeparator);
    if (rule.kind == ColumnKind::TimeCounter)
        return TimeDecode(value);
    return value == 0.0f ? std::string() : StatusDecode(value, rule.statusNames);
}

}  // namespace orvanic
