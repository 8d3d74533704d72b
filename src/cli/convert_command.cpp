#include <iostream>

#include "cli/commands.h"
#include "cli/row_output.h"
#include "files/data_file.h"

namespace orvanic::cli {

int runConvert(Session& session, const CliOptions& options)
{
    const std::vector<std::string>& args = options.arguments;
    if (args.size() != 3 || args[1] != "--csv") {
        std::cerr << "Использование: orvanic-cli convert ФАЙЛ.dat --csv ФАЙЛ.csv\n";
        return 2;
    }
    const OpenedDataFile opened = openDataFile(args[0], session.devTypeEnergy, decimalSeparator());
    if (opened.problem) {
        std::cerr << opened.problem->text << '\n';
        if (opened.table.columnTitles.empty())
            return 1;
    }
    // As the window after "Открыть": the file's description, every column selected.
    session.DevStruct = opened.description;
    session.FieldsList = FillFieldList(opened.table.columnTitles);
    return writeCsv(args[2], opened.table, session) == 0 && !opened.problem ? 0 : 1;
}

}  // namespace orvanic::cli
