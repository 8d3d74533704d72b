// Current-data and screen-data answers of both protocols: one decoder
// serves both polls.

#include <algorithm>

#include "acquire/poll_exchange.h"
#include "acquire/table_row.h"
#include "fuzz_check.h"
#include "fuzz_device.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzDevice device;
    if (!fuzz::readFuzzDevice(data, size, device))
        return 0;
    RowTexts texts{};
    const RowKind kind = decodePollAnswer(device.protocol, device.answer, device.context(), "05.03.2017 13:05:00", texts);
    if (kind != RowKind::Data)
        return 0;
    // A data row fills the caption and its columns and nothing past them:
    // with Modbus two more than the fields, the status at least.
    const std::size_t count = device.description.CountFields;
    const std::size_t last = device.protocol == Protocol::Modbus ? std::max<std::size_t>(count, 2) + 1
                                                                 : std::max<std::size_t>(count, 2) - 1;
    for (std::size_t c = last + 1; c < texts.size(); ++c)
        FUZZ_CHECK(texts[c].empty());
    if (isDataRowCaption(texts[0], 20))
        (void)dataRowIcon(texts, device.indexes);
    return 0;
}
