#include "archive/archive_walk.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace orvanic {
namespace {

using namespace std::chrono;

year_month_day ymd(const CalendarDate& d)
{
    return year_month_day{year{d.year}, month{static_cast<unsigned>(d.month)}, day{static_cast<unsigned>(d.day)}};
}

CalendarDate calendar(const year_month_day& d)
{
    return {static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
            static_cast<int>(static_cast<unsigned>(d.day()))};
}

CalendarDate plusDays(const CalendarDate& d, int days)
{
    return calendar(year_month_day{sys_days{ymd(d)} + std::chrono::days{days}});
}

// The same day a month later, or the month's last day where it has none.
CalendarDate plusMonth(const CalendarDate& d)
{
    year_month_day next = ymd(d) + months{1};
    if (!next.ok())
        next = year_month_day{year_month_day_last{next.year(), month_day_last{next.month()}}};
    return calendar(next);
}

bool isLastDayOfMonth(const CalendarDate& d)
{
    return plusDays(d, 1).month != d.month;
}

bool after(const CalendarDate& a, const CalendarDate& b)
{
    return sys_days{ymd(a)} > sys_days{ymd(b)};
}

std::uint8_t byte(int v)
{
    return static_cast<std::uint8_t>(v);
}

void takePeriodFromCurrent(ArchiveWalk& w)
{
    w.arcYear = byte(w.devCurrentTime.year % 100);
    w.arcMonth = byte(w.devCurrentTime.month);
    if (w.type == ArchiveType::Monthly) {
        w.arcDay = ArchiveWalk::kUnused;
        w.arcHour = ArchiveWalk::kUnused;
    } else {
        w.arcDay = byte(w.devCurrentTime.day);
    }
}

}  // namespace

ArchiveWalk startArchiveWalk(ArchiveType type, const CalendarDate& begin, const CalendarDate& end, int beginHour, int endHour)
{
    ArchiveWalk w;
    w.type = type;
    w.devBeginTime = begin;
    w.devCurrentTime = begin;
    w.DevEndTime = end;
    if (type == ArchiveType::Monthly) {
        // The monthly walk steps from the begin date by whole months and ends
        // once past the end date: moving the end date past the begin date's
        // day keeps the end date's month in the walk. It stops at the end of
        // that month, which also keeps it finite for a begin on the 31st.
        while (w.DevEndTime.day <= begin.day && !isLastDayOfMonth(w.DevEndTime))
            w.DevEndTime = plusDays(w.DevEndTime, 1);
    }
    takePeriodFromCurrent(w);
    if (type == ArchiveType::Hourly) {
        w.arcHour = w.arcBeginHour = byte(beginHour);
        w.arcEndHour = byte(endHour);
    } else {
        w.arcHour = ArchiveWalk::kUnused;
        w.arcEndHour = ArchiveWalk::kUnused;
    }
    const CalendarDate& e = w.DevEndTime;
    switch (type) {
    case ArchiveType::Hourly:
        w.arcTotal = (e.year - begin.year) * 8760 + (e.month - begin.month) * 720 + (e.day - begin.day) * 24 + endHour - beginHour + 1;
        break;
    case ArchiveType::Daily:
        w.arcTotal = (e.year - begin.year) * 365 + (e.month - begin.month) * 30 + (e.day - begin.day) + 1;
        break;
    case ArchiveType::Monthly:
        w.arcTotal = (e.year - begin.year) * 12 + (e.month - begin.month) + 1;
        break;
    }
    return w;
}

std::string periodText(const ArchiveWalk& w)
{
    char text[32];
    const int year = w.arcYear % 100;
    if (w.arcHour != ArchiveWalk::kUnused)
        std::snprintf(text, sizeof text, "%02d:%02d.%02d.20%02d", w.arcHour, w.arcDay, w.arcMonth, year);
    else
        std::snprintf(text, sizeof text, "%02d.%02d.20%02d", w.arcDay, w.arcMonth, year);
    return text;
}

WalkStep afterArchiveExchange(ArchiveWalk& w, bool checksumFailed)
{
    if (checksumFailed && w.arcCrcRetries < 2) {
        ++w.arcCrcRetries;
        return WalkStep::Repeat;
    }
    w.arcCrcRetries = 0;
    if (after(w.devCurrentTime, w.DevEndTime))
        return WalkStep::Finished;  // a begin date after the end date: one period only

    switch (w.type) {
    case ArchiveType::Hourly:
        if (++w.arcHour == 24) {
            w.arcHour = 0;
            w.devCurrentTime = plusDays(w.devCurrentTime, 1);
        }
        break;
    case ArchiveType::Daily:
        w.devCurrentTime = plusDays(w.devCurrentTime, 1);
        break;
    case ArchiveType::Monthly:
        w.devCurrentTime = plusMonth(w.devCurrentTime);
        break;
    }
    takePeriodFromCurrent(w);
    ++w.arcDone;
    const bool pastEnd = after(w.devCurrentTime, w.DevEndTime)
        || (w.devCurrentTime == w.DevEndTime && w.arcHour != ArchiveWalk::kUnused && w.arcHour > w.arcEndHour);
    return pastEnd ? WalkStep::Finished : WalkStep::Next;
}

int progressPercent(const ArchiveWalk& w)
{
    if (w.arcTotal <= 0)
        return 100;
    const auto percent = static_cast<long long>(w.arcDone) * 100 / w.arcTotal;
    return static_cast<int>(std::clamp<long long>(percent, 0, 100));
}

}  // namespace orvanic
