// The workbooks as other programs read them: openpyxl for .xlsx, odfpy for .ods.
#include <gtest/gtest.h>

#include <clocale>

#include "files/ods_document.h"
#include "files/xlsx_workbook.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

SheetLayout sample()
{
    const TableSnapshot table{{"Дата и время", "V1 [м3]", "T1 [°С]", "tреж", "Статус"},
                              {{"05:01.12.2016", "1,5", "20", "01:00:00", "Обрыв, Перегрев"},
                               {"06:01.12.2016 - данные отсутствуют"},
                               {"07:01.12.2016", "abc", "50", "00:30:00", "  a & <b>"}}};
    return sheetLayout(SheetSource{table, FillFieldList(table.columnTitles), "X-A40 1", "1234", 4, ","});
}

std::vector<std::string> readBack(const std::filesystem::path& file)
{
    const test::ProgramResult read = test::runProgram({ORVANIC_READ_SHEET, file.string()}, file.parent_path());
    EXPECT_EQ(read.exitCode, 0) << read.err;
    return test::splitLines(read.out);
}

TEST(SpreadsheetFiles, XlsxKeepsNumbersAndBold)
{
    test::TempDir dir;
    const auto file = dir.path() / "sheet.xlsx";
    // The window runs in the operator's locale, whose decimal comma must not
    // reach the file.
    const bool russian = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    const auto written = writeXlsxWorkbook(file, sample());
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(written, std::nullopt);
    EXPECT_TRUE(russian) << "the Russian locale is not installed; the check of the decimal point is void";
    const std::vector<std::string> expected = {
        "sheet Лист1",
        "1\t1\ttext\tplain\tX-A40 1 1234",
        "2\t1\ttext\tplain\tДата и время", "2\t2\ttext\tplain\tV1 [м3]", "2\t3\ttext\tplain\tT1 [°С]",
        "2\t4\ttext\tplain\ttреж", "2\t5\ttext\tplain\tСтатус",
        "3\t1\ttext\tplain\t05:01.12.2016", "3\t2\tnumber\tplain\t1.5", "3\t3\tnumber\tplain\t20.0",
        "3\t4\ttext\tplain\t01:00:00", "3\t5\ttext\tplain\tОбрыв, Перегрев",
        "4\t1\ttext\tplain\t06:01.12.2016 - данные отсутствуют",
        "5\t1\ttext\tplain\t07:01.12.2016", "5\t2\ttext\tplain\tabc", "5\t3\tnumber\tplain\t50.0",
        "5\t4\ttext\tplain\t00:30:00", "5\t5\ttext\tplain\t  a & <b>",
        "6\t1\ttext\tbold\tИтого:", "6\t2\tnumber\tbold\t1.5", "6\t3\tnumber\tbold\t30.0", "6\t4\ttext\tbold\t1:30:0",
    };
    EXPECT_EQ(readBack(file), expected);
}

TEST(SpreadsheetFiles, OdsHoldsTexts)
{
    test::TempDir dir;
    const auto file = dir.path() / "sheet.ods";
    ASSERT_EQ(writeOdsDocument(file, sample()), std::nullopt);
    const std::vector<std::string> expected = {
        "sheet Лист1",
        "1\t1\ttext\tplain\tX-A40 1 1234",
        "2\t1\ttext\tplain\tДата и время", "2\t2\ttext\tplain\tV1 [м3]", "2\t3\ttext\tplain\tT1 [°С]",
        "2\t4\ttext\tplain\ttреж", "2\t5\ttext\tplain\tСтатус",
        "3\t1\ttext\tplain\t05:01.12.2016", "3\t2\ttext\tplain\t1,5", "3\t3\ttext\tplain\t20",
        "3\t4\ttext\tplain\t01:00:00", "3\t5\ttext\tplain\tОбрыв, Перегрев",
        "4\t1\ttext\tplain\t06:01.12.2016 - данные отсутствуют",
        "5\t1\ttext\tplain\t07:01.12.2016", "5\t2\ttext\tplain\tabc", "5\t3\ttext\tplain\t50",
        "5\t4\ttext\tplain\t00:30:00", "5\t5\ttext\tplain\t  a & <b>",
        "6\t1\ttext\tplain\tИтого:", "6\t2\ttext\tplain\t1,5", "6\t3\ttext\tplain\t30", "6\t4\ttext\tplain\t1:30:0",
    };
    EXPECT_EQ(readBack(file), expected);
}

TEST(SpreadsheetFiles, UnwritableFolderIsNamedAndLeavesNothing)
{
    test::TempDir dir;
    const auto missing = dir.path() / "missing" / "sheet";
    for (const auto& [file, failed] : {std::pair(missing.string() + ".xlsx", writeXlsxWorkbook(missing.string() + ".xlsx", sample())),
                                       std::pair(missing.string() + ".ods", writeOdsDocument(missing.string() + ".ods", sample()))}) {
        ASSERT_TRUE(failed.has_value()) << file;
        EXPECT_NE(failed->text.find(file), std::string::npos) << failed->text;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace orvanic
