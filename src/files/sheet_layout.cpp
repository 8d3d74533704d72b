#include "files/sheet_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string_view>

#include "acquire/table_row.h"
#include "acquire/value_texts.h"
#include "files/data_file_cells.h"
#include "link/cp1251.h"

namespace orvanic {
namespace {

// Rows whose caption is shorter than this are archive data rows.
constexpr std::size_t kDataRowCaptionLimit = 14;
constexpr std::string_view kStatusField = "Статус";
constexpr std::string_view kIdleTime = "00:00:00";
constexpr std::array<std::string_view, 6> kTimeFields = {"tдог", "tреж", "t1реж", "tраб", "tреж1", "tреж2"};
// Units of the columns whose total is their plain sum.
constexpr std::array<std::string_view, 4> kSummedUnits = {"м3", "ГДж", "Гкал", "т"};

bool isTimeField(std::string_view name)
{
    return std::ranges::find(kTimeFields, name) != kTimeFields.end();
}

// The running-time column that weights flows, pressures and temperatures.
bool isModeTimeField(std::string_view name)
{
    return name == "tреж" || name == "tреж1";
}

// Flow, pressure and temperature: averaged over the running time.
bool isTimeWeighted(std::string_view name)
{
    return !name.empty() && (name.front() == 'Q' || name.front() == 'P' || name.front() == 'T');
}

bool isSummed(std::string_view name)
{
    // The unit closes the name: "V1 [м3]" without its last character ends with "м3".
    std::u32string characters = utf8ToU32(name);
    if (characters.empty())
        return false;
    characters.pop_back();
    const std::string head = u32ToUtf8(characters);
    return std::ranges::any_of(kSummedUnits, [&](std::string_view unit) { return head.ends_with(unit); });
}

std::string durationText(double seconds, std::string_view decimalSeparator)
{
    const double hours = std::trunc(seconds / 3600);
    const double minutes = std::trunc((seconds - 3600 * hours) / 60);
    const double rest = seconds - 3600 * hours - 60 * minutes;
    return decimalText(hours, ".") + ":" + decimalText(minutes, ".") + ":" + decimalText(rest, decimalSeparator);
}

class SheetBuilder {
public:
    explicit SheetBuilder(const SheetSource& source)
        : m_source(source),
          m_count(std::min<std::size_t>(source.fields.Count, kMaxFieldsListEntries)),
          m_column(m_count, 0),
          m_sums(m_count, 0.0)
    {
        std::uint32_t skip = 0;
        for (std::size_t k = 0; k < m_count; ++k) {
            m_column[k] = static_cast<std::uint32_t>(k + 1) - skip;
            if (takesPart(k) && !shown(k))
                ++skip;
        }
    }

    SheetLayout build()
    {
        put(1, 1, m_source.deviceName + " " + m_source.deviceNumber);
        for (std::size_t k = 0; k < m_count; ++k) {
            if (shown(k))
                put(2, m_column[k], m_source.table.columnTitles[k]);
        }
        std::uint32_t sheetRow = 3;
        for (const std::vector<std::string>& row : m_source.table.rows) {
            m_plainDivisor += 1;
            m_weightDivisor += 1.0;
            const std::string caption = row.empty() ? std::string() : row.front();
            put(sheetRow, 1, caption);
            if (isDataRowCaption(caption, kDataRowCaptionLimit))
                addValues(sheetRow, row);
            ++sheetRow;
        }
        addTotals(sheetRow);
        return std::move(m_layout);
    }

private:
    bool takesPart(std::size_t k) const
    {
        return k < m_source.table.columnTitles.size() && m_source.fields.FieldItem[k].NameField == m_source.table.columnTitles[k];
    }

    bool shown(std::size_t k) const { return takesPart(k) && m_source.fields.FieldItem[k].Flag; }

    const std::string& name(std::size_t k) const { return m_source.fields.FieldItem[k].NameField; }

    static const std::string& textAt(const std::vector<std::string>& row, std::size_t k)
    {
        static const std::string kNone;
        return k < row.size() ? row[k] : kNone;
    }

    void put(std::uint32_t row, std::uint32_t column, std::string text, std::optional<double> number = {}, bool bold = false)
    {
        m_layout.cells.push_back(SheetCell{row, column, std::move(text), number, bold});
    }

    // The running time of this row when it weights the averaged columns.
    std::optional<double> weightOf(const std::vector<std::string>& row) const
    {
        const std::int64_t index = static_cast<std::int64_t>(m_source.modeTimeIndex) - 1;
        if (index < 0 || static_cast<std::size_t>(index) >= m_count || !isModeTimeField(name(static_cast<std::size_t>(index))))
            return std::nullopt;
        const std::string& text = textAt(row, static_cast<std::size_t>(index));
        if (text == kIdleTime)
            return std::nullopt;
        return durationSeconds(text).value_or(0.0);
    }

    void addValues(std::uint32_t sheetRow, const std::vector<std::string>& row)
    {
        const std::optional<double> weight = weightOf(row);
        for (std::size_t k = 1; k < m_count; ++k) {
            if (!shown(k))
                continue;
            const std::string& text = textAt(row, k);
            const std::string& field = name(k);
            if (field == kStatusField || isTimeField(field)) {
                put(sheetRow, m_column[k], text);
                if (!isTimeField(field))
                    continue;
                m_sums[k] += durationSeconds(text).value_or(0.0);
                if (isModeTimeField(field)) {
                    if (text == kIdleTime)
                        m_plainDivisor -= 1;
                    else
                        m_weightDivisor = m_sums[k];
                }
                continue;
            }
            // A text that is no number stays a text and adds nothing.
            const std::optional<double> value = parseNumber(text, m_source.decimalSeparator);
            put(sheetRow, m_column[k], text, value);
            if (value)
                m_sums[k] += isTimeWeighted(field) && weight ? *value * *weight : *value;
        }
    }

    void addTotals(std::uint32_t sheetRow)
    {
        put(sheetRow, 1, "Итого:", std::nullopt, true);
        for (std::size_t k = 1; k + 1 < m_count; ++k) {
            const std::string& field = name(k);
            if (!shown(k) || field.empty() || field == kStatusField)
                continue;
            const double sum = m_sums[k];
            if (!isSummed(field) && field.front() == 't') {
                put(sheetRow, m_column[k], durationText(sum, m_source.decimalSeparator), std::nullopt, true);
                continue;
            }
            double total = sum;
            if (!isSummed(field)) {
                if (isTimeWeighted(field))
                    total = m_weightDivisor > 0 ? sum / m_weightDivisor : sum;
                else
                    total = m_plainDivisor > 1 ? sum / (m_plainDivisor - 1) : sum;
            }
            put(sheetRow, m_column[k], decimalText(total, m_source.decimalSeparator), total, true);
        }
    }

    const SheetSource& m_source;
    std::size_t m_count;
    std::vector<std::uint32_t> m_column;  // sheet column of each table column
    std::vector<double> m_sums;
    double m_plainDivisor = 1;   // one more than the rows that ran
    double m_weightDivisor = 0;  // seconds of running time
    SheetLayout m_layout;
};

}  // namespace

SheetLayout sheetLayout(const SheetSource& source)
{
    return SheetBuilder(source).build();
}

std::vector<std::size_t> columnCharacters(const SheetLayout& layout)
{
    std::map<std::uint32_t, std::size_t> cellsInRow;
    for (const SheetCell& cell : layout.cells)
        ++cellsInRow[cell.row];
    std::vector<std::size_t> widest;
    for (const SheetCell& cell : layout.cells) {
        // A text alone in its row (the device's name, a message) may spill over.
        if (cellsInRow[cell.row] == 1)
            continue;
        if (widest.size() < cell.column)
            widest.resize(cell.column, 0);
        widest[cell.column - 1] = std::max(widest[cell.column - 1], utf8ToU32(cell.text).size());
    }
    return widest;
}

std::optional<double> durationSeconds(const std::string& text)
{
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos || text.find(':', second + 1) != std::string::npos)
        return std::nullopt;
    const std::string_view parts[] = {std::string_view(text).substr(0, first),
                                      std::string_view(text).substr(first + 1, second - first - 1),
                                      std::string_view(text).substr(second + 1)};
    double seconds = 0;
    for (std::string_view part : parts) {
        if (part.empty() || part.size() > 9 || !std::ranges::all_of(part, [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        seconds = seconds * 60 + std::stod(std::string(part));
    }
    return seconds;
}

}  // namespace orvanic
