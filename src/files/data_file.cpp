#include "files/data_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>

#include "acquire/table_row.h"
#include "files/atomic_file.h"
#include "files/data_file_cells.h"
#include "files/data_file_dates.h"
#include "files/data_file_format.h"
#include "link/cp1251.h"

namespace orvanic {
namespace {

constexpr std::string_view kErrorCaption = "Ошибка";
constexpr std::string_view kDataFileSuffix = ".dat";
// Rows with longer captions carry messages, not values.
constexpr std::size_t kWrittenCaptionLimit = 20;

UserMessage failure(std::string text)
{
    return UserMessage{std::move(text), std::string(kErrorCaption)};
}

std::string inQuotes(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

std::string fileText(const std::filesystem::path& file)
{
    return inQuotes(file.string());
}

// The device's name and number hold one character per device byte (0..255).
std::string charactersAsBytes(std::string_view utf8)
{
    std::string bytes;
    for (char32_t c : utf8ToU32(utf8))
        bytes.push_back(static_cast<char>(c & 0xFF));
    return bytes;
}

std::string bytesAsCharacters(std::string_view bytes)
{
    std::string utf8;
    for (char c : bytes)
        appendUtf8(utf8, static_cast<std::uint8_t>(c));
    return utf8;
}

std::span<const ShortText> statusNamesOf(const TOrvanicStruct& d)
{
    return std::span(d.StructStatus).first(std::min<std::size_t>(d.CountStatus, d.StructStatus.size()));
}

std::string_view captionShape(std::uint8_t typeReport)
{
    switch (typeReport) {
    case kHourlyArchive: return "ЧЧ:ДД.ММ.ГГГГ";
    case kDailyArchive: return "ДД.ММ.ГГГГ";
    default: return "255.ММ.ГГГГ";
    }
}

// ---- Saving ----

// The value columns as the file stores them: a field record and a cell rule each.
struct StoredColumns {
    std::vector<FieldRecord> fields;
    std::vector<CellRule> rules;
};

// Columns before the description's status entry are its value fields, stored
// by name without unit; the status is the fixed "S" record; columns after it
// (the Modbus archive's hour and date) are stored by their titles. Without a
// status entry the fields are followed by title-named records for whatever
// columns remain, so there is always one record per value column.
StoredColumns storedColumns(const TableSnapshot& table, const SaveContext& context)
{
    const TOrvanicStruct& d = context.description;
    const std::size_t described = std::min<std::size_t>(d.CountFields, d.NameFields.size());
    const ShortText statusEntry = ShortText::fromUtf8(kStatusColumnTitle);
    std::size_t statusColumn = 0;
    for (std::size_t j = 1; j < described && statusColumn == 0; ++j) {
        if (d.NameFields[j] == statusEntry)
            statusColumn = j;
    }
    const std::size_t lastField = statusColumn != 0 ? statusColumn : described;
    const bool integers = storesIntegers(modelFromName(d.DeviceName));

    StoredColumns out;
    for (std::size_t j = 1; j < context.columnCount; ++j) {
        const std::string& title = table.columnTitles[j];
        if (j == statusColumn) {
            out.fields.push_back(FieldRecord{std::string(kStatusFieldName), 1});
        } else if (j < lastField) {
            const ShortText& entry = d.NameFields[j];
            out.fields.push_back(FieldRecord{storedFieldName(entry), static_cast<std::uint8_t>(isTimeCounterField(entry))});
        } else {
            out.fields.push_back(FieldRecord{utf8ToCp1251(title), 0});
        }
        out.rules.push_back(CellRule{columnKind(title), integers, context.devTypeEnergy == 1, statusNamesOf(d),
                                     context.decimalSeparator});
    }
    return out;
}

bool isWrittenRow(const std::vector<std::string>& row)
{
    return isDataRowCaption(row.empty() ? std::string() : row.front(), kWrittenCaptionLimit);
}

std::optional<UserMessage> checkColumns(const TableSnapshot& table, const SaveContext& context)
{
    if (context.columnCount > kDataFileMaxColumns)
        return failure("В таблице больше " + std::to_string(kDataFileMaxColumns) + " столбцов; такой файл не открыть.");
    if (context.columnCount == 0 || context.columnCount > table.columnTitles.size())
        return failure("Таблица не совпадает с описанием прибора: столбцов " + std::to_string(context.columnCount)
                       + ", заголовков " + std::to_string(table.columnTitles.size()) + ".");
    return std::nullopt;
}

std::variant<std::string, UserMessage> encodeDataFile(const TableSnapshot& table, const SaveContext& context)
{
    if (std::none_of(table.rows.begin(), table.rows.end(), isWrittenRow))
        return failure("В таблице нет строк архива для записи.");
    const std::uint8_t type = context.description.TypeReport;
    if (!isKnownArchiveType(type))
        return failure("Неизвестный тип архива (" + std::to_string(type) + "); файл не записан.");
    if (auto wrong = checkColumns(table, context))
        return *wrong;

    DataFileHead head;
    head.deviceName = charactersAsBytes(context.description.DeviceName);
    head.deviceNumber = charactersAsBytes(context.description.DeviceNumber);
    StoredColumns columns = storedColumns(table, context);
    head.fields = std::move(columns.fields);
    for (const ShortText& name : statusNamesOf(context.description))
        head.statusNames.push_back(name.cp1251());
    head.typeReport = type;

    const std::size_t values = head.fields.size();
    ByteWriter rows;
    rows.reserve(table.rows.size() * rowRecordSize(values));
    std::vector<std::uint32_t> words(values);
    std::optional<RowDate> first, last;
    for (const std::vector<std::string>& row : table.rows) {
        if (!isWrittenRow(row))
            continue;
        const std::string& caption = row.front();
        const auto date = rowDateFromCaption(caption, type);
        if (!date)
            return failure("Строка " + inQuotes(caption) + " не годится для файла: ожидается дата вида "
                           + std::string(captionShape(type)) + ".");
        if (row.size() <= values)
            return failure("В строке " + inQuotes(caption) + " не хватает значений.");
        for (std::size_t j = 0; j < values; ++j) {
            const auto word = cellWord(row[j + 1], columns.rules[j]);
            if (!word)
                return failure("В строке " + inQuotes(caption) + " в столбце " + inQuotes(table.columnTitles[j + 1])
                               + " не число: " + inQuotes(row[j + 1]) + ".");
            words[j] = *word;
        }
        writeRowRecord(rows, date->dateTime(), words);
        if (!first)
            first = date;
        last = date;
    }
    head.first = {static_cast<double>(first->day), first->hour};
    head.last = {static_cast<double>(last->day), last->hour};

    ByteWriter out;
    writeHead(out, head);
    out.reserve(out.text().size() + rows.text().size());
    out.bytes(rows.text());
    return std::move(out.text());
}

// ---- Opening ----

std::optional<std::string> readWholeFile(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error)
        bytes.reserve(static_cast<std::size_t>(size));
    // Up to the end actually reached: the size is only a hint.
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return std::nullopt;
    return bytes;
}

void addColumn(OpenedDataFile& out, const FieldRecord& field, std::uint8_t devTypeEnergy)
{
    TOrvanicStruct& d = out.description;
    const std::string name = cp1251ToUtf8(field.name);
    const std::string title = columnTitleFor(name, devTypeEnergy);
    const std::size_t at = d.CountFields++;
    const auto number = static_cast<std::int32_t>(d.CountFields);
    d.NameFields[at] = ShortText::fromCp1251(field.name);
    if (isStoredStatusName(name)) {
        d.NameFields[at] = ShortText::fromUtf8(kStatusColumnTitle);
        out.indexes.StatusIndex = number;
    }
    if (title == "tраб")
        out.indexes.WorkTimeIndex = number;
    else if (title == "tреж")
        out.indexes.ModeTimeIndex = number;
    d.NameFormat[at] = field.format == kValueFormat ? 1 : 0;
    out.table.columnTitles.push_back(title);
}

// Runs work(begin, end) over [0, count) in slices, one per processor; rows
// are independent and decoding their cells is most of opening a file.
template <typename Work>
void inSlices(std::size_t count, const Work& work)
{
    constexpr std::size_t kSmallestSlice = 4096;
    const std::size_t processors = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    const std::size_t slices = std::clamp<std::size_t>(count / kSmallestSlice, 1, processors);
    std::vector<std::jthread> workers;
    for (std::size_t s = 1; s < slices; ++s) {
        const std::size_t begin = count * s / slices;
        const std::size_t end = count * (s + 1) / slices;
        try {
            workers.emplace_back(work, begin, end);
        } catch (const std::system_error&) {
            work(begin, end);  // no thread to be had: do it here
        }
    }
    work(std::size_t{0}, count / slices);
}

// Rows up to the first record whose date is no date; that record's number when there is one.
std::optional<std::size_t> addRows(OpenedDataFile& out, const DataFileContents& contents, std::uint8_t devTypeEnergy,
                                   const std::string& decimalSeparator)
{
    const TOrvanicStruct& d = out.description;
    const std::size_t values = contents.head.fields.size();
    std::vector<CellRule> rules;
    const bool integers = storesIntegers(out.devType);
    for (std::size_t j = 1; j <= values; ++j)
        rules.push_back(CellRule{columnKind(out.table.columnTitles[j]), integers, devTypeEnergy == 1, statusNamesOf(d),
                                 decimalSeparator});

    const std::size_t count = contents.rowCount;
    out.table.rows.resize(count);
    out.icons.resize(count);
    std::mutex badLock;
    std::size_t firstBad = count;
    inSlices(count, [&](std::size_t begin, std::size_t end) {
        RowTexts texts{};
        for (std::size_t r = begin; r < end; ++r) {
            const RowRecord record = rowRecord(contents, r);
            auto caption = captionFromDateTime(record.dateTime, d.TypeReport);
            if (!caption) {
                const std::lock_guard lock(badLock);
                firstBad = std::min(firstBad, r);
                return;
            }
            texts[0] = std::move(*caption);
            for (std::size_t j = 0; j < values; ++j)
                texts[j + 1] = cellText(record.word(j), rules[j]);
            out.icons[r] = dataRowIcon(texts, out.indexes);
            out.table.rows[r].assign(std::make_move_iterator(texts.begin()),
                                     std::make_move_iterator(texts.begin() + static_cast<std::ptrdiff_t>(values + 1)));
        }
    });
    if (firstBad == count)
        return std::nullopt;
    out.table.rows.resize(firstBad);
    out.icons.resize(firstBad);
    return firstBad + 1;
}

UserMessage damaged(const std::filesystem::path& file, const std::string& what)
{
    return failure("Файл " + fileText(file) + " повреждён: " + what + ". Показано то, что удалось прочитать.");
}

}  // namespace

std::variant<std::filesystem::path, UserMessage> dataFileName(const std::string& chosen)
{
    const std::filesystem::path path(chosen);
    const std::string name = path.filename().string();
    if (name.empty() || name == kDataFileSuffix)
        return UserMessage{"Имя файла не задано", std::string(kErrorCaption)};
    if (chosen.ends_with(kDataFileSuffix))
        return path;
    return std::filesystem::path(chosen + std::string(kDataFileSuffix));
}

std::optional<UserMessage> saveDataFile(const std::filesystem::path& file, const TableSnapshot& table,
                                        const SaveContext& context)
{
    const auto content = encodeDataFile(table, context);
    if (const auto* refused = std::get_if<UserMessage>(&content))
        return *refused;
    if (!writeFileAtomically(file, std::get<std::string>(content)))
        return failure("Не удалось записать файл " + fileText(file) + ".");
    return std::nullopt;
}

OpenedDataFile openDataFile(const std::filesystem::path& file, std::uint8_t devTypeEnergy,
                            const std::string& decimalSeparator)
{
    OpenedDataFile out;
    TOrvanicStruct& d = out.description;
    d.CountFields = 1;
    d.NameFields[0] = ShortText::fromUtf8(kDateColumnTitle);
    out.table.columnTitles.emplace_back(kDateColumnTitle);

    const auto bytes = readWholeFile(file);
    if (!bytes) {
        out.problem = failure("Не удалось открыть файл " + fileText(file) + ".");
        return out;
    }
    const DataFileContents contents = readDataFile(*bytes);
    const DataFileHead& head = contents.head;
    d.DeviceName = bytesAsCharacters(head.deviceName);
    d.DeviceNumber = bytesAsCharacters(head.deviceNumber);
    for (const FieldRecord& field : head.fields)
        addColumn(out, field, devTypeEnergy);
    for (const std::string& name : head.statusNames)
        d.StructStatus[d.CountStatus++] = ShortText::fromCp1251(name);
    d.TypeReport = head.typeReport;
    out.devType = modelFromName(d.DeviceName);
    out.headerText = "Архивные данные " + d.DeviceName + " №" + d.DeviceNumber;

    if (contents.headComplete && !isKnownArchiveType(d.TypeReport)) {
        out.problem = damaged(file, "неизвестный тип архива " + std::to_string(d.TypeReport));
        return out;
    }
    if (contents.headComplete) {
        if (const auto badRow = addRows(out, contents, devTypeEnergy, decimalSeparator)) {
            out.problem = damaged(file, "в строке " + std::to_string(*badRow) + " архива неверная дата");
            return out;
        }
    }
    if (contents.damage)
        out.problem = damaged(file, *contents.damage);
    return out;
}

}  // namespace orvanic
