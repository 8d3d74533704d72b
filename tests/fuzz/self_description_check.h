#pragma once

// What every parsed self-description promises, and taking it into a
// session as connecting does.

#include "app/connect_device.h"
#include "app/session.h"
#include "fuzz_check.h"
#include "link/self_description.h"

namespace orvanic::fuzz {

inline void checkSpecialIndex(std::int32_t index, const SelfDescription& d)
{
    // 2 stands for "no such field" as well as for field 2.
    FUZZ_CHECK(index == 2 || (index >= 1 && static_cast<std::size_t>(index) <= d.fieldNames.size()));
}

inline void checkDescription(const SelfDescription& d)
{
    FUZZ_CHECK(!d.fieldNames.empty() && d.fieldNames[0] == U"Дата и время");
    checkSpecialIndex(d.indexes.WorkTimeIndex, d);
    checkSpecialIndex(d.indexes.ModeTimeIndex, d);
    checkSpecialIndex(d.indexes.StatusIndex, d);
    if (d.hasStatusList)
        FUZZ_CHECK(d.indexes.StatusIndex == static_cast<std::int32_t>(d.fieldNames.size()));
    else
        FUZZ_CHECK(d.statusNames.empty());
}

// One session for the whole run, cleared before each input: a session owns
// a port, which is not worth opening per input.
inline void takeIntoSession(const SelfDescription& d, std::uint8_t devProtocol)
{
    static Session session;
    session.devProtocol = devProtocol;
    session.DevStruct = TOrvanicStruct{};
    session.indexes = SpecialFieldIndexes{};
    session.FieldsList = AFieldsList{};
    if (takeSelfDescription(session, d))
        return;
    const TOrvanicStruct& s = session.DevStruct;
    FUZZ_CHECK(s.CountFields == d.fieldNames.size() && s.CountStatus == d.statusNames.size());
    const std::vector<std::string> captions = columnCaptions(session);
    FUZZ_CHECK(captions.size() <= kMaxColumns && session.FieldsList.Count == captions.size());
    (void)connectedHeaderText(s);
}

}  // namespace orvanic::fuzz
