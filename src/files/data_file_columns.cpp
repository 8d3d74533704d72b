#include "files/data_file_columns.h"

#include <array>
#include <utility>

#include "acquire/record_decoder.h"
#include "link/cp1251.h"
#include "link/self_description.h"

namespace orvanic {

ColumnKind columnKind(std::string_view title)
{
    if (title.starts_with('W'))
        return ColumnKind::Energy;
    if (isTimeCounterField(ShortText::fromUtf8(title)))
        return ColumnKind::TimeCounter;
    if (title == kStatusColumnTitle)
        return ColumnKind::Status;
    return ColumnKind::Plain;
}

std::string storedFieldName(const ShortText& entry)
{
    const std::string& bytes = entry.cp1251();
    return bytes.substr(0, bytes.find_first_of(" ["));
}

bool isStoredStatusName(std::string_view name)
{
    return name.starts_with('S');
}

std::string columnTitleFor(std::string_view name, std::uint8_t devTypeEnergy)
{
    if (isStoredStatusName(name))
        return std::string(kStatusColumnTitle);
    // Gas composition and density; the one-letter codes are the device's own.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kLongerCodes = {{
        {"pc", " [кгс/м3]"}, {"N2", " [%]"}, {"CO2", " [%]"},
    }};
    for (const auto& [code, unit] : kLongerCodes) {
        if (name.starts_with(code))
            return std::string(name) + std::string(unit);
    }
    if (name.empty())
        return {};
    const std::uint8_t energy = devTypeEnergy != 0 ? 1 : 0;
    return std::string(name) + u32ToUtf8(unitSuffix(static_cast<unsigned char>(name[0]), energy));
}

}  // namespace orvanic
