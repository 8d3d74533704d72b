#include "files/data_file_format.h"

#include <bit>

namespace orvanic {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kPaddedByteSize = 8;  // a byte item and its 7 zero bytes

void writePaddedByte(ByteWriter& out, std::uint8_t value)
{
    out.u8(value);
    out.zeros(kPaddedByteSize - 1);
}

void writeDayAndHour(ByteWriter& out, const DayAndHour& d)
{
    out.f64(d.day);
    writePaddedByte(out, d.hour);
}

std::optional<DayAndHour> readDayAndHour(ByteReader& in)
{
    const auto day = in.f64();
    const auto hour = in.bytes(kPaddedByteSize);
    if (!day || !hour)
        return std::nullopt;
    return DayAndHour{*day, static_cast<std::uint8_t>((*hour)[0])};
}

std::optional<FieldRecord> readField(ByteReader& in)
{
    const auto name = in.countedText();
    const auto flag = in.u8();
    const auto format = in.countedText();
    if (!name || !flag || !format)
        return std::nullopt;
    return FieldRecord{std::string(*name), *flag, std::string(*format)};
}

// Each name ends with CR LF; what follows the last CR LF is no name.
std::optional<std::string> splitStatusNames(std::string_view text, std::vector<std::string>& names)
{
    for (std::size_t end = text.find(kLineEnd); end != std::string_view::npos; end = text.find(kLineEnd)) {
        if (names.size() == kDataFileMaxStatuses)
            return "в файле больше " + std::to_string(kDataFileMaxStatuses) + " названий состояний";
        names.emplace_back(text.substr(0, end));
        text.remove_prefix(end + kLineEnd.size());
    }
    return std::nullopt;
}

// The items before the row records; stops at the first one that is not whole.
std::optional<std::string> readHead(ByteReader& in, DataFileHead& head)
{
    const auto name = in.countedText();
    if (!name)
        return std::string("он обрезан в названии прибора");
    head.deviceName = *name;
    const auto number = in.countedText();
    if (!number)
        return std::string("он обрезан в номере прибора");
    head.deviceNumber = *number;

    const auto valueColumns = in.u32();
    if (!valueColumns)
        return std::string("он обрезан в числе столбцов");
    const std::uint64_t columns = std::uint64_t{*valueColumns} + 1;
    if (columns > kDataFileMaxColumns)
        return "в нём " + std::to_string(columns) + " столбцов, а программа показывает не более "
               + std::to_string(kDataFileMaxColumns);
    for (std::uint32_t j = 0; j < *valueColumns; ++j) {
        auto field = readField(in);
        if (!field)
            return "он обрезан в описании столбца " + std::to_string(j + 1);
        head.fields.push_back(std::move(*field));
    }

    const auto statusText = in.countedText();
    if (!statusText)
        return std::string("он обрезан в названиях состояний");
    if (auto tooMany = splitStatusNames(*statusText, head.statusNames))
        return tooMany;

    const auto type = in.bytes(kPaddedByteSize);
    const auto first = readDayAndHour(in);
    const auto last = readDayAndHour(in);
    if (!type || !first || !last)
        return std::string("он обрезан перед строками архива");
    head.typeReport = static_cast<std::uint8_t>((*type)[0]);
    head.first = *first;
    head.last = *last;
    return std::nullopt;
}

}  // namespace

void writeHead(ByteWriter& out, const DataFileHead& head)
{
    out.countedText(head.deviceName);
    out.countedText(head.deviceNumber);
    out.u32(static_cast<std::uint32_t>(head.fields.size()));
    for (const FieldRecord& field : head.fields) {
        out.countedText(field.name);
        out.u8(field.timeFlag);
        out.countedText(field.format);
    }
    std::string statusText;
    for (const std::string& name : head.statusNames)
        statusText.append(name).append(kLineEnd);
    out.countedText(statusText);
    writePaddedByte(out, head.typeReport);
    writeDayAndHour(out, head.first);
    writeDayAndHour(out, head.last);
}

void writeRowRecord(ByteWriter& out, double dateTime, const std::vector<std::uint32_t>& words)
{
    out.f64(dateTime);
    for (std::uint32_t word : words)
        out.u32(word);
}

DataFileContents readDataFile(std::string_view bytes)
{
    DataFileContents contents;
    ByteReader in(bytes);
    contents.damage = readHead(in, contents.head);
    if (contents.damage)
        return contents;
    contents.headComplete = true;

    const std::size_t recordSize = rowRecordSize(contents.head.fields.size());
    contents.rowCount = in.remaining() / recordSize;
    contents.rows = bytes.substr(in.position(), contents.rowCount * recordSize);
    if (in.remaining() % recordSize != 0)
        contents.damage = "последняя строка архива в нём обрезана";
    return contents;
}

RowRecord rowRecord(const DataFileContents& contents, std::size_t index)
{
    const std::size_t size = rowRecordSize(contents.head.fields.size());
    const char* record = contents.rows.data() + index * size;
    return RowRecord{std::bit_cast<double>(loadU64(record)), std::string_view(record + kRowDateSize, size - kRowDateSize)};
}

}  // namespace orvanic
