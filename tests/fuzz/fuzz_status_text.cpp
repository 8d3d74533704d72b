// Status texts read back when a table is saved (DecodeStatusS), and the
// texts made of device status words (StatusDecode).
//
//   byte 0     the number of status names, modulo 51
//   bytes 1-4  a device value, least significant byte first
//   the rest   a cell text

#include <bit>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "acquire/value_texts.h"
#include "fuzz_check.h"

using namespace orvanic;

namespace {

// Distinct names without ", " in them, as devices name their states.
const std::vector<ShortText>& statusNames()
{
    static const std::vector<ShortText> names = [] {
        std::vector<ShortText> out = {ShortText::fromUtf8("Обрыв"), ShortText::fromUtf8("Перегрузка"),
                                      ShortText::fromUtf8("Нет питания")};
        while (out.size() < 50)
            out.push_back(ShortText::fromUtf8("Состояние " + std::to_string(out.size())));
        return out;
    }();
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const std::span<const ShortText> names = std::span(statusNames()).first(data[0] % 51);
    const auto word = static_cast<std::uint32_t>(data[1] | data[2] << 8 | data[3] << 16 | std::uint32_t{data[4]} << 24);
    const float status = std::bit_cast<float>(word);
    const std::string text = StatusDecode(status, names);
    // The listed bits of a status word below 2^24 come back from its text.
    if (status >= 0.0f && status < 16777216.0f) {
        const auto bits = static_cast<std::uint32_t>(status);
        const std::uint32_t listed = names.size() >= 32 ? bits : bits & ((std::uint32_t{1} << names.size()) - 1);
        FUZZ_CHECK(DecodeStatusS(text, names) == static_cast<float>(listed));
    }

    const float value = DecodeStatusS(std::string_view(reinterpret_cast<const char*>(data + 5), size - 5), names);
    FUZZ_CHECK(std::isfinite(value) && value >= 0.0f);
    return 0;
}
