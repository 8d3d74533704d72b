// Seconds to open a ten-year hourly data file (87,600 rows x 20 value
// columns): reading and decoding it (core), then filling the window's table
// model with the rows (as the window does after opening).
// Run: build/bench/bench_open_dat

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "acquire/value_texts.h"
#include "app/gui/result_table_model.h"
#include "files/data_file.h"
#include "files/data_file_dates.h"

using namespace orvanic;

namespace {

constexpr int kRows = 87600;
constexpr std::int32_t kFirstDay = 40179;  // 01.01.2010

const std::vector<std::string> kFields = {
    "Q1 [м3/ч]", "Q2 [м3/ч]", "Q3 [м3/ч]", "V1 [м3]", "V2 [м3]", "V3 [м3]", "M1 [т]",
    "M2 [т]",    "M3 [т]",    "T1 [°С]",   "T2 [°С]", "T3 [°С]", "P1 [атм]", "P2 [атм]",
    "W1 [ГДж]",  "W2 [ГДж]",  "H1 [ГДж]",  "tраб",    "tреж",    "Статус",
};

TOrvanicStruct benchDevice()
{
    TOrvanicStruct d;
    d.DeviceName = "X-A40 1";
    d.DeviceNumber = "1234";
    d.NameFields[d.CountFields++] = ShortText::fromUtf8("Дата и время");
    for (const std::string& f : kFields)
        d.NameFields[d.CountFields++] = ShortText::fromUtf8(f);
    for (const char* s : {"Обрыв", "Перегрев", "Нет питания"})
        d.StructStatus[d.CountStatus++] = ShortText::fromUtf8(s);
    d.TypeReport = kHourlyArchive;
    return d;
}

TableSnapshot benchTable(const TOrvanicStruct& d)
{
    TableSnapshot table;
    for (std::size_t i = 0; i < d.CountFields; ++i)
        table.columnTitles.push_back(d.NameFields[i].utf8());
    const auto statuses = std::span(d.StructStatus).first(d.CountStatus);
    table.rows.reserve(kRows);
    for (int r = 0; r < kRows; ++r) {
        const RowDate date{kFirstDay + r / 24, static_cast<std::uint8_t>(r % 24)};
        std::vector<std::string> row = {*captionFromDateTime(date.dateTime(), kHourlyArchive)};
        for (std::size_t c = 0; c + 3 < kFields.size(); ++c)
            row.push_back(numberText(static_cast<float>(r) * 0.37f + static_cast<float>(c) * 11.1f, "."));
        row.push_back(TimeDecode(static_cast<float>(r * 360)));
        row.push_back(TimeDecode(static_cast<float>(r % 7 == 0 ? 0 : r * 300)));
        row.push_back(StatusDecode(static_cast<float>(r % 8), statuses));
        table.rows.push_back(std::move(row));
    }
    return table;
}

bool writeBenchFile(const std::filesystem::path& file)
{
    const TOrvanicStruct device = benchDevice();
    const TableSnapshot table = benchTable(device);
    const SaveContext context{device, static_cast<std::uint8_t>(table.columnTitles.size()), 0, "."};
    const auto failed = saveDataFile(file, table, context);
    if (failed)
        std::fprintf(stderr, "%s\n", failed->text.c_str());
    return !failed;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args(argv, argv + argc);
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    args.push_back(platform);
    args.push_back(offscreen);
    int count = static_cast<int>(args.size());
    QApplication app(count, args.data());

    std::string folder = (std::filesystem::temp_directory_path() / "orvanic-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr)
        return 1;
    const std::filesystem::path file = std::filesystem::path(folder) / "archive.dat";

    if (!writeBenchFile(file))
        return 1;

    auto start = std::chrono::steady_clock::now();
    const OpenedDataFile opened = openDataFile(file, 0, ".");
    const double core = secondsSince(start);
    if (opened.problem || opened.table.rows.size() != kRows) {
        std::fprintf(stderr, "opened %zu rows: %s\n", opened.table.rows.size(),
                     opened.problem ? opened.problem->text.c_str() : "");
        return 1;
    }

    // The rows go into the model the way the window's "Открыть" puts them there.
    start = std::chrono::steady_clock::now();
    gui::ResultTableModel model;
    QStringList titles;
    for (const std::string& title : opened.table.columnTitles)
        titles << QString::fromStdString(title);
    model.setColumns(titles);
    model.appendRows(gui::modelRows(opened.table, opened.icons));
    const double fill = secondsSince(start);

    std::printf("file            %.1f MB, %d rows x %zu value columns\n",
                static_cast<double>(std::filesystem::file_size(file)) / 1e6, kRows, kFields.size());
    std::printf("openDataFile    %.3f s\n", core);
    std::printf("table model     %.3f s\n", fill);
    std::printf("together        %.3f s (target < 1 s)\n", core + fill);
    std::filesystem::remove_all(folder);
    return model.rowCount() == kRows ? 0 : 1;
}
