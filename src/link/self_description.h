#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/short_text.h"

namespace orvanic {

inline constexpr std::size_t kMaxFields = 50;
inline constexpr std::size_t kMaxStatuses = 50;

// The recognised device model, by the designation in the device's name.
enum class TOrvanDevice : std::uint8_t {
    mcuA40, mcuA601, mcuA602, mcuB8, mcuB9, mcuA70, mcuA90, mcuC101, mcuC102, mcuC103, none
};

// "A60.1" and the like; empty for `none`.
std::string_view modelDesignation(TOrvanDevice model);
// The designation is the run after the first '-' or space of the name, up to
// the next space; it must match a known one exactly.
TOrvanDevice modelFromName(std::string_view deviceName);

// The device's description of itself, as the program keeps it.
struct TOrvanicStruct {
    std::string DeviceName;    // UTF-8; the device's bytes taken one character each (codes 0..255)
    std::string DeviceNumber;  // likewise
    std::array<ShortText, kMaxFields> NameFields{};
    std::array<std::uint8_t, kMaxFields> NameFormat{};
    std::uint8_t CountFields = 0;
    std::array<ShortText, kMaxStatuses> StructStatus{};
    std::uint8_t CountStatus = 0;
    std::uint8_t TypeReport = 0;
};

// 1-based field numbers of "tраб", "tреж" and the status field; 2 when the
// device has no such field.
struct SpecialFieldIndexes {
    std::int32_t WorkTimeIndex = 2;
    std::int32_t ModeTimeIndex = 2;
    std::int32_t StatusIndex = 2;
};

// What the identification answer's text says, before it is checked against
// the program's limits. Field names carry their unit suffix; names are
// decoded from the device code page, number and name are not.
struct SelfDescription {
    std::u32string number;
    std::u32string name;
    std::vector<std::u32string> fieldNames;  // "Дата и время" first
    bool hasStatusList = false;
    std::vector<std::u32string> statusNames;
    SpecialFieldIndexes indexes;
};

// Parses the description text, one character per byte of the answer.
// devTypeEnergy selects the energy unit: 0 ГДж, 1 Гкал.
SelfDescription parseSelfDescription(std::string_view text, std::uint8_t devTypeEnergy);

// The unit a field's type code adds to its name; empty for none.
std::u32string_view unitSuffix(char32_t typeCode, std::uint8_t devTypeEnergy);

}  // namespace orvanic
