#include "acquire/record_decoder.h"

#include <array>
#include <cstring>

#include "acquire/value_texts.h"
#include "link/value_codec.h"

namespace orvanic {
namespace {

constexpr float kGigajouleToGigacalorie = 0.238846f;

bool isEnergyField(const ShortText& name)
{
    const std::string& bytes = name.cp1251();
    return !bytes.empty() && (bytes[0] == 'H' || bytes[0] == 'W');
}

std::int32_t littleEndianInt(std::span<const std::uint8_t> b)
{
    const std::uint32_t u = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    std::int32_t v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

std::string statusText(float value, const RecordContext& context)
{
    if (value == 0.0f)
        return {};
    if (!isCounterValue(value))
        return numberText(value, context.decimalSeparator);
    const TOrvanicStruct& d = context.description;
    return StatusDecode(value, std::span(d.StructStatus).first(d.CountStatus));
}

std::string fieldText(float value, const ShortText& name, const RecordContext& context)
{
    if (isTimeCounterField(name))
        return isCounterValue(value) ? TimeDecode(value) : numberText(value, context.decimalSeparator);
    if (context.devTypeEnergy == 1 && isEnergyField(name))
        value = value * kGigajouleToGigacalorie;
    return numberText(value, context.decimalSeparator);
}

std::size_t statusPosition(std::uint8_t countFields)
{
    return countFields >= 2 ? countFields - 2u : 0u;
}

}  // namespace

bool isTimeCounterField(const ShortText& name)
{
    static const std::array<ShortText, 6> kNames = {
        ShortText::fromUtf8("tраб"),  ShortText::fromUtf8("tреж"),  ShortText::fromUtf8("tдог"),
        ShortText::fromUtf8("t1реж"), ShortText::fromUtf8("tреж1"), ShortText::fromUtf8("tреж2"),
    };
    for (const ShortText& n : kNames) {
        if (n == name)
            return true;
    }
    return false;
}

void decodeOwnRecord(std::span<const std::uint8_t> answer, const RecordContext& context, RowTexts& texts)
{
    const TOrvanicStruct& d = context.description;
    const std::size_t k = statusPosition(d.CountFields);
    for (std::size_t j = 0; j < k; ++j) {
        const auto b = answer.subspan(4 + 4 * j, 4);
        const ShortText& name = d.NameFields[j + 1];
        if (isTimeCounterField(name))
            texts[j + 1] = TimeDecode(static_cast<float>(littleEndianInt(b)));
        else
            texts[j + 1] = fieldText(DecodeFloat(b[3], b[2], b[1], b[0]), name, context);
    }
    texts[k + 1] = statusText(static_cast<float>(littleEndianInt(answer.subspan(4 + 4 * k, 4))), context);
}

void decodeModbusRecord(std::span<const std::uint8_t> answer, const RecordContext& context, RowTexts& texts)
{
    const TOrvanicStruct& d = context.description;
    auto value = [&](std::size_t k) {
        const auto b = answer.subspan(3 + 4 * k, 4);
        return DecodeFloat(b[2], b[3], b[0], b[1]);
    };
    const std::size_t k = statusPosition(d.CountFields);
    for (std::size_t j = 0; j < k; ++j)
        texts[j + 1] = fieldText(value(j), d.NameFields[j + 1], context);
    texts[k + 1] = statusText(value(k), context);
    // Fewer than two fields ask for fewer values than the two extra columns
    // read: a value the answer does not hold leaves its column as it was.
    const std::size_t present = (answer.size() - 5) / 4;
    for (std::size_t extra = k + 1; extra <= k + 2 && extra < present; ++extra)
        texts[extra + 1] = numberText(value(extra), context.decimalSeparator);
}

}  // namespace orvanic
