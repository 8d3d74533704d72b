#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvanic {

inline constexpr std::size_t kMaxFieldsListEntries = 40;

// One result-table column and whether the exports write it.
struct RFieldsList {
    std::string NameField;  // the column's caption when the list was built (UTF-8)
    bool Flag = false;
    bool operator==(const RFieldsList&) const = default;
};

// The field selection: entry i describes table column i.
struct AFieldsList {
    std::array<RFieldsList, kMaxFieldsListEntries> FieldItem{};
    std::uint8_t Count = 0;
    std::uint8_t FixCount = 0;
    bool operator==(const AFieldsList&) const = default;
};

// Every column selected. Columns past the 40th cannot be described and are
// left out (connecting refuses such devices beforehand).
AFieldsList FillFieldList(const std::vector<std::string>& columnCaptions);

}  // namespace orvanic
