#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanic {

// Archive types as TypeReport holds them.
inline constexpr std::uint8_t kHourlyArchive = 0;
inline constexpr std::uint8_t kDailyArchive = 1;
inline constexpr std::uint8_t kMonthlyArchive = 2;
bool isKnownArchiveType(std::uint8_t typeReport);

// A row's place in time: a calendar day counted from 30.12.1899 and an hour.
struct RowDate {
    std::int32_t day = 0;
    std::uint8_t hour = 0;
    // Days since 30.12.1899 00:00 with the time of day as fraction.
    double dateTime() const;
};

// The date a row caption names when it has the archive type's shape,
// "HH:DD.MM.YYYY", "DD.MM.YYYY" or "255.MM.YYYY", and is a real date and hour.
std::optional<RowDate> rowDateFromCaption(std::string_view caption, std::uint8_t typeReport);

// Back to the caption of that shape; nullopt for a value that is no day of
// the years 1..9999 or for an unknown archive type.
std::optional<std::string> captionFromDateTime(double dateTime, std::uint8_t typeReport);

}  // namespace orvanic
