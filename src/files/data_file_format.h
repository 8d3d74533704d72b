#pragma once

// The bytes of a data file. There is no signature, version or checksum: the
// items simply follow one another, integers little-endian. "text" is a
// 32-bit count n and then n bytes.
//
//   text  device name           one byte per character
//   text  device number         one byte per character
//   u32   k                     value columns (table columns less the first)
//   k field records, one per value column:
//     text  name                Windows-1251, without its unit
//     u8    time flag           1 for time counters and the status
//     text  format              always "#0.000"
//   text  status names          Windows-1251, each ended by CR LF
//   u8    archive type, 7 x 00  0 hourly, 1 daily, 2 monthly
//   f64   first day             days since 30.12.1899, no time of day
//   u8    first hour, 7 x 00    hourly archives; 0 otherwise
//   f64   last day
//   u8    last hour, 7 x 00
//   row records, to the end of the file:
//     f64   date and time       as the first day, with the time as fraction
//     k x 4 bytes               the values, least significant byte first
//
// The status record is always 01 00 00 00 'S' 01 06 00 00 00 "#0.000".
// e.g. 01.12.2016 05:00 = 42705.208333 = AB AA AA AA 26 DA E4 40.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/data_file_bytes.h"

namespace orvanic {

// The table shows at most 40 columns, the date column among them.
inline constexpr std::size_t kDataFileMaxColumns = 40;
inline constexpr std::size_t kDataFileMaxStatuses = 50;
inline constexpr std::string_view kValueFormat = "#0.000";
inline constexpr std::string_view kStatusFieldName = "S";

struct FieldRecord {
    std::string name;  // Windows-1251
    std::uint8_t timeFlag = 0;
    std::string format{kValueFormat};
};

struct DayAndHour {
    double day = 0;
    std::uint8_t hour = 0;
};

// Everything before the row records.
struct DataFileHead {
    std::string deviceName;    // one byte per character
    std::string deviceNumber;  // likewise
    std::vector<FieldRecord> fields;
    std::vector<std::string> statusNames;  // Windows-1251, without CR LF
    std::uint8_t typeReport = 0;
    DayAndHour first, last;
};

void writeHead(ByteWriter& out, const DataFileHead& head);

inline constexpr std::size_t kRowDateSize = 8;
inline constexpr std::size_t kValueSize = 4;
inline std::size_t rowRecordSize(std::size_t valueCount)
{
    return kRowDateSize + kValueSize * valueCount;
}

// One row record: the date-time, then the value words least significant
// byte first.
void writeRowRecord(ByteWriter& out, double dateTime, const std::vector<std::uint32_t>& words);

// A file as far as it could be read. Nothing in it was trusted: every
// count was checked against the bytes present.
struct DataFileContents {
    DataFileHead head;          // the items read before any damage
    bool headComplete = false;  // all items before the row records read
    std::string_view rows;      // whole row records only
    std::size_t rowCount = 0;
    std::optional<std::string> damage;  // what is wrong, for the user
};
DataFileContents readDataFile(std::string_view bytes);

struct RowRecord {
    double dateTime = 0;
    std::string_view values;  // k x 4 bytes
    std::uint32_t word(std::size_t column) const { return loadU32(values.data() + kValueSize * column); }
};
// Record `index` of the rows of `contents`; index < contents.rowCount.
RowRecord rowRecord(const DataFileContents& contents, std::size_t index);

}  // namespace orvanic
