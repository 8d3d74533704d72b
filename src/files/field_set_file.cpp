#include "files/field_set_file.h"

#include <fstream>
#include <sstream>

#include "files/atomic_file.h"
#include "link/cp1251.h"

namespace orvanic {
namespace {

constexpr std::string_view kFirstColumn = "Дата и время";

UserMessage attention(std::string text)
{
    return UserMessage{std::move(text), std::string(caption::kAttention)};
}

}  // namespace

std::filesystem::path fieldSetFileName(const std::string& programFolder, const std::string& deviceName)
{
    std::string name = deviceName;
    for (char& c : name) {
        if (c == ' ' || c == '/')
            c = '_';
    }
    return std::filesystem::path(programFolder) / (name + ".cfg");
}

std::string formatFieldSet(const std::vector<std::string>& names, const std::vector<bool>& checks)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool on = i == 0 || (i < checks.size() && checks[i]);
        text += names[i] + "#" + (on ? "1" : "0") + "\r\n";
    }
    return utf8ToCp1251(text);
}

std::optional<UserMessage> saveFieldSetFile(const std::filesystem::path& file, const std::vector<std::string>& names,
                                            const std::vector<bool>& checks)
{
    if (writeFileAtomically(file, formatFieldSet(names, checks)))
        return std::nullopt;
    return fileNotWritten(file);
}

std::optional<UserMessage> applyFieldSet(const std::string& content, const std::vector<std::string>& names,
                                         std::vector<bool>& checks)
{
    checks.resize(names.size(), false);
    std::istringstream in(cp1251ToUtf8(content));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t n = line.size();
        if (n < 2 || line[n - 2] != '#' || (line[n - 1] != '0' && line[n - 1] != '1'))
            return attention("Повреждена структура файла.");
        const std::string name = line.substr(0, n - 2);
        if (name == kFirstColumn) {
            if (!checks.empty())
                checks[0] = true;
            continue;
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) {
                checks[i] = line[n - 1] == '1';
                break;
            }
        }
    }
    return std::nullopt;
}

std::optional<UserMessage> loadFieldSetFile(const std::filesystem::path& file, const std::vector<std::string>& names,
                                            std::vector<bool>& checks)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return attention("Нет похожей конфигурации.");
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    if (!(content << in.rdbuf()) && in.bad())
        return UserMessage{"Не удалось прочитать файл " + file.string() + ".", "Ошибка"};
    return applyFieldSet(content.str(), names, checks);
}

void applySelection(AFieldsList& list, const std::vector<bool>& checks)
{
    list.FixCount = 0;
    for (std::size_t i = 0; i < list.Count; ++i) {
        list.FieldItem[i].Flag = i == 0 || (i < checks.size() && checks[i]);
        if (list.FieldItem[i].Flag)
            ++list.FixCount;
    }
}

}  // namespace orvanic
