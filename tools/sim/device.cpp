#include "device.h"

#include "device_text.h"

#include <algorithm>

namespace orvanic::sim {

namespace {

constexpr std::uint8_t kSeparator = '|';
constexpr std::uint8_t kStatusMark = 'S';

// Fields whose whole name is one of these are running-time counters.
const std::vector<Bytes>& timeCounterNames()
{
    static const std::vector<Bytes> names = [] {
        std::vector<Bytes> encoded;
        for (const char* name : {"tраб", "tреж", "tдог", "t1реж", "tреж1", "tреж2"})
            encoded.push_back(encodeDeviceText(name));
        return encoded;
    }();
    return names;
}

std::vector<Bytes> splitEntries(const Bytes& description)
{
    std::vector<Bytes> entries;
    auto begin = description.begin();
    while (true) {
        const auto end = std::find(begin, description.end(), kSeparator);
        if (end != begin)
            entries.emplace_back(begin, end);
        if (end == description.end())
            break;
        begin = end + 1;
    }
    return entries;
}

}  // namespace

Device::Device(DeviceSetup setup)
    : m_address(setup.address)
    , m_description(std::move(setup.description))
    , m_clock(setup.clock)
{
    // Entry 0 is the number, entry 1 the name, then value fields up to the
    // status entry; the status names after it do not matter here.
    const std::vector<Bytes> entries = splitEntries(m_description);
    const auto& counters = timeCounterNames();
    for (std::size_t i = 2; i < entries.size(); ++i) {
        if (entries[i].front() == kStatusMark) {
            m_hasStatus = true;
            break;
        }
        m_fieldIsTimeCounter.push_back(std::find(counters.begin(), counters.end(), entries[i]) != counters.end());
    }
}

bool Device::answersTo(std::uint8_t address) const { return !m_address || *m_address == address; }

int Device::countFields() const
{
    return 1 + static_cast<int>(m_fieldIsTimeCounter.size()) + (m_hasStatus ? 1 : 0);
}

Record Device::makeRecord(const std::function<float(int)>& fieldValue, std::int32_t timeCounter,
                          std::int32_t status, std::array<float, 2> extras) const
{
    Record record;
    record.extras = extras;
    int field = 1;
    for (bool isCounter : m_fieldIsTimeCounter) {
        if (isCounter)
            record.values.push_back({true, 0.0f, timeCounter});
        else
            record.values.push_back({false, fieldValue(field), 0});
        ++field;
    }
    // Without a status entry the slot is still there, always 0.
    record.values.push_back({true, 0.0f, m_hasStatus ? status : 0});
    return record;
}

Record Device::nextCurrentRecord()
{
    const std::uint32_t n = m_currentAnswers++;
    return makeRecord([n](int field) { return currentFieldValue(field, n); }, currentTimeCounter(n),
                      currentStatus(n), {static_cast<float>(clock().hour), currentPollCounter(n)});
}

Record Device::nextScreenRecord()
{
    const std::uint32_t m = m_screenAnswers++;
    return makeRecord([m](int field) { return screenFieldValue(field, m); }, screenTimeCounter(m),
                      screenStatus(m), {static_cast<float>(clock().hour), screenPollCounter(m)});
}

Record Device::archiveRecord(const ArchivePeriod& period) const
{
    return makeRecord([&period](int field) { return archiveFieldValue(field, period); },
                      archiveTimeCounter(period), archiveStatus(period),
                      {archiveHourValue(period), archiveDateValue(period)});
}

}  // namespace orvanic::sim
