// A field-set file applied to the field selection of a connected device.
// The file's bytes are the input; the device's columns are fixed.

#include <string>
#include <vector>

#include "files/field_set_file.h"
#include "fuzz_check.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::string> names = {"Дата и время", "W1 [ГДж]", "V1 [м3]", "M1 [т]", "T1 [°С]", "tраб",
                                                   "tреж", "Статус", "Текущий час запроса", "Счетчик опросов датчика"};
    const std::string content(reinterpret_cast<const char*>(data), size);
    std::vector<bool> checks(names.size(), true);
    (void)applyFieldSet(content, names, checks);
    FUZZ_CHECK(checks.size() == names.size() && checks[0]);

    // What was applied, written out and applied to a cleared selection,
    // gives the same selection.
    std::vector<bool> again(names.size(), false);
    FUZZ_CHECK(!applyFieldSet(formatFieldSet(names, checks), names, again));
    FUZZ_CHECK(again == checks);

    AFieldsList list = FillFieldList(names);
    applySelection(list, checks);
    return 0;
}
