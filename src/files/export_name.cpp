#include "files/export_name.h"

namespace orvanic {

std::variant<std::filesystem::path, UserMessage> exportFileName(const std::string& chosen, std::string_view extension)
{
    if (chosen == extension)
        return UserMessage{"Имя файла не задано", "Ошибка"};
    if (chosen.size() >= extension.size() && chosen.compare(chosen.size() - extension.size(), extension.size(), extension) == 0)
        return std::filesystem::path(chosen);
    return std::filesystem::path(chosen + std::string(extension));
}

}  // namespace orvanic
