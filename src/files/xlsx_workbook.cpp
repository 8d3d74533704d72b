#include "files/xlsx_workbook.h"

#include <algorithm>
#include <clocale>
#include <locale.h>
#include <xlsxwriter.h>

#include "files/atomic_file.h"

namespace orvanic {
namespace {

constexpr const char* kSheetName = "Лист1";

bool fill(lxw_workbook* workbook, const SheetLayout& layout)
{
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, kSheetName);
    lxw_format* bold = workbook_add_format(workbook);
    if (sheet == nullptr || bold == nullptr)
        return false;
    format_set_bold(bold);
    const std::vector<std::size_t> widest = columnCharacters(layout);
    for (std::size_t c = 0; c < widest.size(); ++c) {
        const double width = static_cast<double>(std::clamp<std::size_t>(widest[c] + 2, 10, 40));
        const auto column = static_cast<lxw_col_t>(c);
        if (worksheet_set_column(sheet, column, column, width, nullptr) != LXW_NO_ERROR)
            return false;
    }
    for (const SheetCell& cell : layout.cells) {
        const auto row = static_cast<lxw_row_t>(cell.row - 1);
        const auto column = static_cast<lxw_col_t>(cell.column - 1);
        lxw_format* format = cell.bold ? bold : nullptr;
        const lxw_error written = cell.number ? worksheet_write_number(sheet, row, column, *cell.number, format)
                                              : worksheet_write_string(sheet, row, column, cell.text.c_str(), format);
        if (written != LXW_NO_ERROR)
            return false;
    }
    return true;
}

// The library prints numbers with the C library, which follows the
// program's locale; the file must hold "1.5", never "1,5". Set for this
// thread only, so workers formatting at the same time are not disturbed.
class ClassicNumbers {
public:
    ClassicNumbers()
        : m_classic(::newlocale(LC_NUMERIC_MASK, "C", ::duplocale(LC_GLOBAL_LOCALE))),
          m_previous(m_classic ? ::uselocale(m_classic) : nullptr)
    {
    }
    ~ClassicNumbers()
    {
        if (m_classic) {
            ::uselocale(m_previous);
            ::freelocale(m_classic);
        }
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    locale_t m_classic;
    locale_t m_previous;
};

}  // namespace

std::optional<UserMessage> writeXlsxWorkbook(const std::filesystem::path& file, const SheetLayout& layout)
{
    const ClassicNumbers classic;
    const bool written = writeFileAtomically(file, [&](const std::filesystem::path& temporary) {
        lxw_workbook* workbook = workbook_new(temporary.c_str());
        if (workbook == nullptr)
            return false;
        const bool filled = fill(workbook, layout);
        // Closing writes the file; it also frees the workbook on every path.
        return workbook_close(workbook) == LXW_NO_ERROR && filled;
    });
    if (written)
        return std::nullopt;
    return fileNotWritten(file);
}

}  // namespace orvanic
