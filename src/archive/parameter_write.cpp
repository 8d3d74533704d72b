#include "archive/parameter_write.h"

#include "files/data_file_cells.h"

namespace orvanic {

std::variant<ParameterValues, BadParameterText> convertParameterTexts(const ParameterTexts& texts,
                                                                      std::string_view decimalSeparator)
{
    ParameterValues values;
    for (std::size_t page = 0; page < texts.size(); ++page) {
        for (std::size_t i = 0; i < texts[page].size(); ++i) {
            const std::optional<double> number = parseNumber(texts[page][i], decimalSeparator);
            if (!number)
                return BadParameterText{page, i + 1, texts[page][i]};
            values[page].push_back(*number);
        }
    }
    return values;
}

UserMessage badParameterTextMessage(const BadParameterText& bad)
{
    return UserMessage{"Страница \"" + std::string(kParameterPageCaptions[bad.page]) + "\", параметр "
                           + std::to_string(bad.row) + ": значение \"" + bad.text
                           + "\" не является числом. Параметры не записаны.",
                       std::string(caption::kAttention)};
}

UserMessage nothingToWriteMessage()
{
    return UserMessage{"Список параметров прибора программе пока не известен, поэтому ничего не записано.",
                       std::string(caption::kAttention)};
}

}  // namespace orvanic
