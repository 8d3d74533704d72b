#include <charconv>
#include <cstdio>
#include <iostream>
#include <unistd.h>

#include "app/connect_device.h"
#include "archive/archive_exchange.h"
#include "cli/commands.h"
#include "cli/row_output.h"
#include "files/csv_export.h"
#include "files/data_file.h"
#include "files/export_name.h"

namespace orvanic::cli {
namespace {

// An archive row shows its values when its caption is shorter than this.
constexpr std::size_t kArchiveCaptionLimit = 14;

struct ArchiveRequest {
    ArchiveType type = ArchiveType::Hourly;
    CalendarDate from;
    CalendarDate to;
    int firstHour = 0;
    int lastHour = 23;
    std::string dataFile;  // -o: the rows as a data file
    std::string csvFile;   // --csv: the rows as CSV
};

bool parseDate(const std::string& text, CalendarDate& date)
{
    char end = 0;
    return std::sscanf(text.c_str(), "%2d.%2d.%4d%c", &date.day, &date.month, &date.year, &end) == 3 && date.year >= 1950
        && date.year <= 2149 && date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31;
}

bool parseHours(const std::string& text, int& first, int& last)
{
    char end = 0;
    return std::sscanf(text.c_str(), "%d-%d%c", &first, &last, &end) == 2 && first >= 0 && first <= 23 && last >= 0 && last <= 23;
}

bool parseArchiveArguments(const std::vector<std::string>& args, ArchiveRequest& request)
{
    if (args.empty()) {
        std::cerr << "Укажите вид архива: hourly, daily или monthly.\n";
        return false;
    }
    if (args[0] == "daily")
        request.type = ArchiveType::Daily;
    else if (args[0] == "monthly")
        request.type = ArchiveType::Monthly;
    else if (args[0] != "hourly") {
        std::cerr << "Неизвестный вид архива: " << args[0] << ".\n";
        return false;
    }
    bool from = false, to = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            std::cerr << "Не указано значение параметра " << option << ".\n";
            return false;
        }
        const std::string& value = args[++i];
        bool ok = false;
        if (option == "-o")
            ok = !(request.dataFile = value).empty();
        else if (option == "--csv")
            ok = !(request.csvFile = value).empty();
        else if (option == "--from")
            ok = from = parseDate(value, request.from);
        else if (option == "--to")
            ok = to = parseDate(value, request.to);
        else if (option == "--hours")
            ok = parseHours(value, request.firstHour, request.lastHour);
        if (!ok) {
            std::cerr << "Неверный параметр: " << option << " " << value << ".\n";
            return false;
        }
    }
    if (!from || !to) {
        std::cerr << "Укажите даты: --from ДД.ММ.ГГГГ --to ДД.ММ.ГГГГ.\n";
        return false;
    }
    return true;
}

// The same bytes the window writes for the same table.
int writeDataFile(const std::string& chosen, const TableSnapshot& table, const Session& session)
{
    const auto name = dataFileName(chosen);
    if (const auto* refused = std::get_if<UserMessage>(&name)) {
        std::cerr << refused->text << '\n';
        return 1;
    }
    const SaveContext context{session.DevStruct, static_cast<std::uint8_t>(table.columnTitles.size()), session.devTypeEnergy,
                              decimalSeparator()};
    if (const auto failed = saveDataFile(std::get<std::filesystem::path>(name), table, context)) {
        std::cerr << failed->text << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int writeCsv(const std::string& chosen, const TableSnapshot& table, const Session& session)
{
    if (table.rows.empty())
        return 0;
    const auto name = exportFileName(chosen, ".csv");
    if (const auto* refused = std::get_if<UserMessage>(&name)) {
        std::cerr << refused->text << '\n';
        return 1;
    }
    const std::string csv = formatCsv(table, session.FieldsList, session.DevStruct.DeviceName, session.DevStruct.DeviceNumber);
    if (const auto failed = writeCsvFile(std::get<std::filesystem::path>(name), csv)) {
        std::cerr << failed->text << '\n';
        return 1;
    }
    return 0;
}

int runArchive(Session& session, const CliOptions& options)
{
    ArchiveRequest request;
    if (!parseArchiveArguments(options.arguments, request))
        return 2;
    if (!connectOrReport(session))
        return 1;

    std::vector<std::string> captions = columnCaptions(session);
    if (protocolOf(session.devProtocol) == Protocol::Modbus) {
        captions[captions.size() - 2] = "Час архива";
        captions[captions.size() - 1] = "Дата архива";
    }
    printCells(captions);

    session.DevStruct.TypeReport = static_cast<std::uint8_t>(request.type);
    ArchiveWalk walk = startArchiveWalk(request.type, request.from, request.to, request.firstHour, request.lastHour);
    const RecordContext context{session.DevStruct, session.devTypeEnergy, decimalSeparator()};
    const bool showProgress = ::isatty(STDERR_FILENO);
    RowTexts texts{};
    TableSnapshot table{captions, {}};
    for (;;) {
        const ArchivePeriodResult result = readArchivePeriod(session, walk, context, texts);
        if (result.interrupted) {
            std::cerr << "\nПрервано.\n";
            ClosePort(session);
            return 130;
        }
        printRow(texts, captions.size(), kArchiveCaptionLimit);
        table.rows.push_back(rowCells(texts, captions.size(), kArchiveCaptionLimit));
        if (result.portLost) {
            // No later period can be read; files of a part of the range would
            // pass for the whole of it.
            std::cerr << (showProgress ? "\n" : "") << text::kNoAnswer << '\n';
            ClosePort(session);
            return 1;
        }
        const WalkStep step = afterArchiveExchange(walk, result.outcome == ArchiveOutcome::CrcError);
        if (showProgress)
            std::cerr << "\r" << progressPercent(walk) << " %" << std::flush;
        if (step == WalkStep::Finished)
            break;
    }
    if (showProgress)
        std::cerr << '\n';
    ClosePort(session);
    if (!request.dataFile.empty() && writeDataFile(request.dataFile, table, session) != 0)
        return 1;
    if (!request.csvFile.empty() && writeCsv(request.csvFile, table, session) != 0)
        return 1;
    return 0;
}

}  // namespace orvanic::cli
