#pragma once

#include "bytes.h"
#include "device_clock.h"
#include "record_values.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace orvanic::sim {

// One value of a record. Time counters and the status are whole numbers: the
// own protocol sends them as integers, Modbus as floats like everything else.
struct RecordValue {
    bool whole = false;
    float real = 0.0f;
    std::int32_t count = 0;

    float asFloat() const { return whole ? static_cast<float>(count) : real; }
};

struct Record {
    std::vector<RecordValue> values;  // the value fields in order, then the status
    std::array<float, 2> extras{};    // only Modbus sends these
};

struct DeviceSetup {
    std::optional<std::uint8_t> address;  // none: answer any address
    Bytes description;
    std::optional<ClockFields> clock;  // none: the PC's local time
};

// What the simulated device knows and remembers, independent of protocol.
class Device {
public:
    explicit Device(DeviceSetup setup);

    bool answersTo(std::uint8_t address) const;
    const Bytes& description() const { return m_description; }
    int countFields() const;

    ClockFields clock() const { return m_clock.now(); }
    void setClock(const ClockFields& fields) { m_clock.set(fields); }

    // Each call is one more answer sent, so the values move on.
    Record nextCurrentRecord();
    Record nextScreenRecord();
    Record archiveRecord(const ArchivePeriod& period) const;

    void selectArchivePeriod(const ArchivePeriod& period) { m_selectedPeriod = period; }
    const std::optional<ArchivePeriod>& selectedArchivePeriod() const { return m_selectedPeriod; }

private:
    Record makeRecord(const std::function<float(int)>& fieldValue, std::int32_t timeCounter,
                      std::int32_t status, std::array<float, 2> extras) const;

    std::optional<std::uint8_t> m_address;
    Bytes m_description;
    std::vector<bool> m_fieldIsTimeCounter;  // one entry per value field
    bool m_hasStatus = false;
    DeviceClock m_clock;
    std::uint32_t m_currentAnswers = 0;
    std::uint32_t m_screenAnswers = 0;
    std::optional<ArchivePeriod> m_selectedPeriod;
};

}  // namespace orvanic::sim
