#include "files/fields_list.h"

#include <algorithm>

namespace orvanic {

AFieldsList FillFieldList(const std::vector<std::string>& columnCaptions)
{
    AFieldsList list;
    const std::size_t count = std::min(columnCaptions.size(), kMaxFieldsListEntries);
    for (std::size_t i = 0; i < count; ++i)
        list.FieldItem[i] = RFieldsList{columnCaptions[i], true};
    list.Count = list.FixCount = static_cast<std::uint8_t>(count);
    return list;
}

}  // namespace orvanic
