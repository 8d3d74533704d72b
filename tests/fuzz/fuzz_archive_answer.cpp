// Archive record answers of both protocols, the own one with its doubled
// 0x10 bytes.

#include <algorithm>

#include "acquire/table_row.h"
#include "archive/archive_exchange.h"
#include "fuzz_check.h"
#include "fuzz_device.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzDevice device;
    if (!fuzz::readFuzzDevice(data, size, device, /*doubledAnswer=*/true))
        return 0;
    RowTexts texts{};
    const std::string period = "13:05.03.2017";
    const ArchiveOutcome outcome = decodeArchiveAnswer(device.protocol, device.answer, device.context(), period, texts);
    FUZZ_CHECK(!texts[0].empty());
    if (outcome != ArchiveOutcome::Data)
        return 0;
    FUZZ_CHECK(texts[0] == period);
    const std::size_t count = device.description.CountFields;
    const std::size_t last = device.protocol == Protocol::Modbus ? std::max<std::size_t>(count, 2) + 1
                                                                 : std::max<std::size_t>(count, 2) - 1;
    for (std::size_t c = last + 1; c < texts.size(); ++c)
        FUZZ_CHECK(texts[c].empty());
    (void)dataRowIcon(texts, device.indexes);
    return 0;
}
