#include "files/data_file_dates.h"

#include <cmath>
#include <cstdio>

namespace orvanic {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int64_t kMsPerHour = 3'600'000;
constexpr std::int32_t kDayOf1970 = 25569;        // 01.01.1970 counted from 30.12.1899
constexpr std::int32_t kFirstDay = -693593;       // 01.01.0001
constexpr std::int32_t kLastDay = 2958465;        // 31.12.9999

struct CivilDate {
    std::int32_t year = 0, month = 0, day = 0;
};

// Days since 01.01.1970 and back, proleptic Gregorian (H. Hinnant's method).
std::int32_t daysFromCivil(CivilDate date)
{
    const std::int32_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int32_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int32_t yearOfEra = y - era * 400;
    const std::int32_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int32_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilFromDays(std::int32_t days)
{
    days += 719468;
    const std::int32_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int32_t dayOfEra = days - era * 146097;
    const std::int32_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int32_t mp = (5 * dayOfYear + 2) / 153;
    const std::int32_t month = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, dayOfYear - (153 * mp + 2) / 5 + 1};
}

bool isLeapYear(std::int32_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool isRealDate(const CivilDate& d)
{
    static constexpr std::int32_t kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1)
        return false;
    return d.day <= kMonthDays[d.month - 1] + (d.month == 2 && isLeapYear(d.year) ? 1 : 0);
}

// '9' in the pattern stands for a digit, every other character for itself.
bool hasShape(std::string_view text, std::string_view pattern)
{
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '9' ? !digit : text[i] != pattern[i])
            return false;
    }
    return true;
}

std::int32_t number(std::string_view digits)
{
    std::int32_t n = 0;
    for (char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

std::string twoDigits(std::int32_t n)
{
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

}  // namespace

bool isKnownArchiveType(std::uint8_t typeReport)
{
    return typeReport == kHourlyArchive || typeReport == kDailyArchive || typeReport == kMonthlyArchive;
}

double RowDate::dateTime() const
{
    // Before 30.12.1899 the time of day counts away from zero, as in Delphi's TDateTime.
    const double time = hour / 24.0;
    return day >= 0 ? day + time : day - time;
}

std::optional<RowDate> rowDateFromCaption(std::string_view caption, std::uint8_t typeReport)
{
    CivilDate date;
    RowDate row;
    if (typeReport == kHourlyArchive && hasShape(caption, "99:99.99.9999")) {
        row.hour = static_cast<std::uint8_t>(number(caption.substr(0, 2)));
        date = {number(caption.substr(9, 4)), number(caption.substr(6, 2)), number(caption.substr(3, 2))};
    } else if (typeReport == kDailyArchive && hasShape(caption, "99.99.9999")) {
        date = {number(caption.substr(6, 4)), number(caption.substr(3, 2)), number(caption.substr(0, 2))};
    } else if (typeReport == kMonthlyArchive && hasShape(caption, "999.99.9999")) {
        date = {number(caption.substr(7, 4)), number(caption.substr(4, 2)), 1};
    } else {
        return std::nullopt;
    }
    if (!isRealDate(date) || row.hour > 23)
        return std::nullopt;
    row.day = daysFromCivil(date) + kDayOf1970;
    return row;
}

std::optional<std::string> captionFromDateTime(double dateTime, std::uint8_t typeReport)
{
    if (!isKnownArchiveType(typeReport) || !(dateTime > kFirstDay - 1.0 && dateTime < kLastDay + 1.0))
        return std::nullopt;
    const double whole = std::trunc(dateTime);
    auto day = static_cast<std::int32_t>(whole);
    std::int64_t ms = std::llround(std::fabs(dateTime - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) {  // rounds up to the next midnight
        ms -= kMsPerDay;
        ++day;
    }
    if (day < kFirstDay || day > kLastDay)
        return std::nullopt;

    const CivilDate d = civilFromDays(day - kDayOf1970);
    char year[8];
    std::snprintf(year, sizeof year, "%04d", static_cast<int>(d.year));
    const std::string monthAndYear = twoDigits(d.month) + "." + year;
    if (typeReport == kMonthlyArchive)
        return "255." + monthAndYear;
    const std::string date = twoDigits(d.day) + "." + monthAndYear;
    if (typeReport == kDailyArchive)
        return date;
    return twoDigits(static_cast<std::int32_t>(ms / kMsPerHour)) + ":" + date;
}

}  // namespace orvanic
