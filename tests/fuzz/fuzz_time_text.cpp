// Time-counter texts read back when a table is saved (TimeDecodeS), and the
// texts made of device values (TimeDecode).
//
//   bytes 0-3  a device value, least significant byte first
//   the rest   a cell text

#include <bit>
#include <cmath>
#include <string_view>

#include "acquire/value_texts.h"
#include "fuzz_check.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const auto word = static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t{data[3]} << 24);
    (void)TimeDecode(std::bit_cast<float>(word));

    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
    const float value = TimeDecodeS(text);
    FUZZ_CHECK(std::isfinite(value) && value >= 0.0f);
    // Below a thousand hours a time text is exact in single precision: the
    // text of its value reads back as that value.
    if (value < 360000.0f)
        FUZZ_CHECK(TimeDecodeS(TimeDecode(value)) == value);
    return 0;
}
