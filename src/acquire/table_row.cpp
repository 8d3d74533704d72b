#include "acquire/table_row.h"

#include "link/cp1251.h"

namespace orvanic {

bool isDataRowCaption(const std::string& caption, std::size_t limit)
{
    return utf8ToU32(caption).size() < limit && caption != kCrcErrorCaption;
}

RowIcon dataRowIcon(const RowTexts& texts, const SpecialFieldIndexes& indexes)
{
    auto text = [&](std::int32_t index) -> const std::string& {
        static const std::string kNone;
        return index >= 1 && static_cast<std::size_t>(index) <= texts.size() ? texts[static_cast<std::size_t>(index - 1)] : kNone;
    };
    if (text(indexes.WorkTimeIndex) == "00:00:00")
        return RowIcon::Stopped;
    if (text(indexes.StatusIndex).empty())
        return RowIcon::Ok;
    return RowIcon::Plain;
}

}  // namespace orvanic
