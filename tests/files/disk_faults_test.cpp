// Saving where the disk refuses: a read-only folder, a file system with no
// space left, and one with too little for the whole file. Every writer fails
// with a message naming its file, leaves no partial or temporary file and
// keeps the earlier file as it was.

#include <gtest/gtest.h>

#include <functional>

#include "app/settings.h"
#include "files/atomic_file.h"
#include "files/csv_export.h"
#include "files/data_file.h"
#include "files/data_file_dates.h"
#include "files/field_set_file.h"
#include "support/scratch_fs.h"

namespace orvanic {
namespace {

using Kind = test::ScratchPlace::Kind;

const std::string kEarlier = "the earlier file\r\n";

// An hourly table of `rows` data rows, as an archive read leaves it.
TableSnapshot hourlyTable(TOrvanicStruct& d, int rows)
{
    d.DeviceName = "X-A40 1";
    d.DeviceNumber = "1234";
    d.TypeReport = kHourlyArchive;
    TableSnapshot table;
    for (const char* title : {"Дата и время", "W1 [ГДж]", "tраб", "Статус"}) {
        d.NameFields[d.CountFields++] = ShortText::fromUtf8(title);
        table.columnTitles.emplace_back(title);
    }
    d.StructStatus[d.CountStatus++] = ShortText::fromUtf8("Обрыв");
    for (int i = 0; i < rows; ++i) {
        char caption[32];
        std::snprintf(caption, sizeof caption, "%02d:%02d.%02d.2017", i % 24, 1 + i / 24 % 28, 1 + i / (24 * 28));
        table.rows.push_back({caption, std::to_string(1000 + i) + ".5", "01:00:00", i % 2 ? "Обрыв" : ""});
    }
    return table;
}

struct Writer {
    const char* name;
    const char* fileName;
    bool large;  // more than the nearly full file system holds
    // Writes the file; the message the operator reads when it failed.
    std::function<std::optional<UserMessage>(const std::filesystem::path&)> write;
    friend void PrintTo(const Writer& w, std::ostream* os) { *os << w.name; }
};

const Writer kWriters[] = {
    {"DataFile", "archive.dat", true,
     [](const std::filesystem::path& file) {
         TOrvanicStruct d;
         const TableSnapshot table = hourlyTable(d, 2000);
         return saveDataFile(file, table, SaveContext{d, static_cast<std::uint8_t>(table.columnTitles.size()), 0, "."});
     }},
    {"Csv", "archive.csv", true,
     [](const std::filesystem::path& file) {
         TOrvanicStruct d;
         const TableSnapshot table = hourlyTable(d, 2000);
         return writeCsvFile(file, formatCsv(table, FillFieldList(table.columnTitles), d.DeviceName, d.DeviceNumber));
     }},
    {"FieldSet", "X-A40_1.cfg", false,
     [](const std::filesystem::path& file) {
         return saveFieldSetFile(file, {"Дата и время", "W1 [ГДж]", "tраб"}, {true, false, true});
     }},
    // The settings writer only says whether it worked; the window names the
    // file (its own test).
    {"Settings", "QN.cfg", false,
     [](const std::filesystem::path& file) -> std::optional<UserMessage> {
         if (writeSettingsFile(Settings{"/dev/ttyUSB0", "19200", 8, 1, 0, true}, file))
             return std::nullopt;
         return fileNotWritten(file);
     }},
};

struct Place {
    const char* name;
    Kind kind;
    bool earlierFile;
    friend void PrintTo(const Place& p, std::ostream* os) { *os << p.name; }
};

const Place kPlaces[] = {
    {"ReadOnly", Kind::ReadOnly, true},
    {"Full", Kind::Full, true},
    {"FullNoEarlierFile", Kind::Full, false},
    {"NearlyFull", Kind::NearlyFull, true},
};

// Every writer in every place, but the small files where they still fit.
std::vector<std::tuple<Writer, Place>> cases()
{
    std::vector<std::tuple<Writer, Place>> all;
    for (const Writer& writer : kWriters) {
        for (const Place& place : kPlaces) {
            if (place.kind != Kind::NearlyFull || writer.large)
                all.emplace_back(writer, place);
        }
    }
    return all;
}

class DiskFaults : public ::testing::TestWithParam<std::tuple<Writer, Place>> {};

TEST_P(DiskFaults, WriteFailsCleanly)
{
    const auto& [writer, place] = GetParam();
    const test::ScratchPlace scratch(place.kind, place.earlierFile ? writer.fileName : "", kEarlier);
    if (!scratch.ready())
        GTEST_SKIP() << scratch.whyNot();
    const std::filesystem::path file = scratch.path() / writer.fileName;

    const std::optional<UserMessage> failed = writer.write(file);
    ASSERT_TRUE(failed) << "reported as written";
    EXPECT_NE(failed->text.find(file.string()), std::string::npos) << failed->text;
    EXPECT_EQ(failed->caption, "Ошибка");
    if (place.earlierFile) {
        EXPECT_EQ(scratch.names(), std::vector<std::string>{writer.fileName}) << "a temporary file is left";
        EXPECT_EQ(test::readFile(file), kEarlier);
    } else {
        EXPECT_EQ(scratch.names(), std::vector<std::string>{}) << "a partial or temporary file is left";
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, DiskFaults, ::testing::ValuesIn(cases()),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) + "_" + std::get<1>(param.param).name;
                         });

}  // namespace
}  // namespace orvanic
