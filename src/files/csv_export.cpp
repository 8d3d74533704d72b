#include "files/csv_export.h"

#include "acquire/table_row.h"
#include "files/atomic_file.h"
#include "link/cp1251.h"

namespace orvanic {
namespace {

// Rows whose caption is shorter than this are archive data rows.
constexpr std::size_t kDataRowCaptionLimit = 14;

bool columnWritten(const TableSnapshot& table, const AFieldsList& fields, std::size_t column)
{
    const RFieldsList& entry = fields.FieldItem[column];
    return column < table.columnTitles.size() && entry.Flag && entry.NameField == table.columnTitles[column];
}

void field(std::string& out, const std::string& text)
{
    out += text;
    out += ';';
}

}  // namespace

std::string formatCsv(const TableSnapshot& table, const AFieldsList& fields, const std::string& deviceName,
                      const std::string& deviceNumber)
{
    const std::size_t count = std::min<std::size_t>(fields.Count, kMaxFieldsListEntries);
    std::string out;
    field(out, deviceName + " " + deviceNumber);
    out += "\r\n";
    for (std::size_t i = 0; i < count; ++i) {
        if (columnWritten(table, fields, i))
            field(out, table.columnTitles[i]);
    }
    out += "\r\n";
    for (const std::vector<std::string>& row : table.rows) {
        const std::string& caption = row.empty() ? std::string() : row.front();
        field(out, caption);
        if (isDataRowCaption(caption, kDataRowCaptionLimit)) {
            for (std::size_t i = 1; i < count; ++i) {
                if (columnWritten(table, fields, i))
                    field(out, i < row.size() ? row[i] : std::string());
            }
        }
        out += "\r\n";
    }
    return utf8ToCp1251(out);
}

std::optional<UserMessage> writeCsvFile(const std::filesystem::path& file, const std::string& csv)
{
    if (writeFileAtomically(file, csv))
        return std::nullopt;
    return fileNotWritten(file);
}

}  // namespace orvanic
