#include <iostream>

#include "app/connect_device.h"
#include "cli/commands.h"

namespace orvanic::cli {
namespace {

void printRow(const std::string& caption, const std::vector<std::string>& cells)
{
    std::cout << caption;
    for (const std::string& cell : cells)
        std::cout << '\t' << cell;
    std::cout << '\n';
}

}  // namespace

bool connectOrReport(Session& session)
{
    const ConnectOutcome outcome = identifyDevice(session);
    if (outcome.connected)
        return true;
    std::cerr << (outcome.message ? outcome.message->text : std::string("Прервано.")) << '\n';
    return false;
}

int runIdentify(Session& session, const CliOptions&)
{
    if (!connectOrReport(session))
        return 1;
    const TOrvanicStruct& d = session.DevStruct;
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < d.CountFields; ++i)
        fields.push_back(d.NameFields[i].utf8());
    std::vector<std::string> statuses;
    for (std::size_t i = 0; i < d.CountStatus; ++i)
        statuses.push_back(d.StructStatus[i].utf8());
    const std::string_view model = modelDesignation(session.devType);

    printRow("Номер", {d.DeviceNumber});
    printRow("Прибор", {d.DeviceName});
    printRow("Модель", {model.empty() ? std::string("не определена") : std::string(model)});
    printRow("Поля", fields);
    printRow("Состояния", statuses);
    ClosePort(session);
    return 0;
}

}  // namespace orvanic::cli
