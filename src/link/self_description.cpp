#include "link/self_description.h"

#include "link/device_text.h"

namespace orvanic {
namespace {

constexpr std::array<std::string_view, 10> kDesignations = {
    "A40", "A60.1", "A60.2", "B8", "B9", "A70", "A90", "C10.1", "C10.2", "C10.3"};

constexpr char32_t kSeparator = U'|';

std::u32string bytesAsCharacters(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (char c : text)
        out.push_back(static_cast<std::uint8_t>(c));
    return out;
}

char32_t decoded(char32_t c)
{
    return c >= 0x80 ? deviceCharToUnicode(c) : c;
}

}  // namespace

std::string_view modelDesignation(TOrvanDevice model)
{
    const auto i = static_cast<std::size_t>(model);
    return i < kDesignations.size() ? kDesignations[i] : std::string_view();
}

TOrvanDevice modelFromName(std::string_view deviceName)
{
    const std::size_t start = deviceName.find_first_of("- ");
    if (start == std::string_view::npos)
        return TOrvanDevice::none;
    std::string_view designation = deviceName.substr(start + 1);
    designation = designation.substr(0, designation.find(' '));
    for (std::size_t i = 0; i < kDesignations.size(); ++i) {
        if (kDesignations[i] == designation)
            return static_cast<TOrvanDevice>(i);
    }
    return TOrvanDevice::none;
}

std::u32string_view unitSuffix(char32_t typeCode, std::uint8_t devTypeEnergy)
{
    switch (typeCode) {
    case U'H':
    case U'W': return devTypeEnergy == 1 ? U" [Гкал]" : U" [ГДж]";
    case U'V': return U" [м3]";
    case U'P': return U" [атм]";
    case U'T': return U" [°С]";
    case U'M': return U" [т]";
    case U'Q': return U" [м3/ч]";
    default: return {};
    }
}

SelfDescription parseSelfDescription(std::string_view text, std::uint8_t devTypeEnergy)
{
    const std::u32string d = bytesAsCharacters(text);
    SelfDescription out;
    out.fieldNames.push_back(U"Дата и время");

    // Number and name run to the end of the text when a separator is missing.
    const std::size_t first = d.find(kSeparator);
    out.number = d.substr(0, first);
    if (first == std::u32string::npos)
        return out;
    const std::size_t second = d.find(kSeparator, first + 1);
    out.name = d.substr(first + 1, second == std::u32string::npos ? std::u32string::npos : second - first - 1);
    if (second == std::u32string::npos)
        return out;

    // The field list: its last character is never looked at, so an entry
    // running to the very end of the text is not added.
    std::u32string entry;
    std::size_t pos = second + 1;
    for (; pos + 1 < d.size(); ++pos) {
        const char32_t c = d[pos];
        if (c != kSeparator) {
            entry.push_back(decoded(c));
            continue;
        }
        if (entry.empty())
            continue;
        if (entry.front() == U'S') {
            out.fieldNames.push_back(U"Статус");
            out.indexes.StatusIndex = static_cast<std::int32_t>(out.fieldNames.size());
            out.hasStatusList = true;
            ++pos;
            break;
        }
        entry += unitSuffix(entry.front(), devTypeEnergy);
        out.fieldNames.push_back(entry);
        const auto number = static_cast<std::int32_t>(out.fieldNames.size());
        if (entry == U"tраб")
            out.indexes.WorkTimeIndex = number;
        else if (entry == U"tреж")
            out.indexes.ModeTimeIndex = number;
        entry.clear();
    }
    if (!out.hasStatusList)
        return out;

    entry.clear();
    for (; pos < d.size(); ++pos) {
        const char32_t c = d[pos];
        if (c == kSeparator) {
            out.statusNames.push_back(entry);
            entry.clear();
        } else {
            entry.push_back(decoded(c));
        }
    }
    if (!entry.empty())
        out.statusNames.push_back(entry);
    return out;
}

}  // namespace orvanic
