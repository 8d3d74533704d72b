#include "cli/row_output.h"

#include <charconv>
#include <clocale>
#include <ctime>
#include <iostream>

#include "acquire/table_row.h"

namespace orvanic::cli {

void printCells(const std::vector<std::string>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i)
        std::cout << (i ? "\t" : "") << cells[i];
    std::cout << '\n' << std::flush;
}

std::vector<std::string> rowCells(const RowTexts& texts, std::size_t columns, std::size_t captionLimit)
{
    std::vector<std::string> cells = {texts[0]};
    if (isDataRowCaption(texts[0], captionLimit)) {
        for (std::size_t c = 1; c < columns && c < texts.size(); ++c)
            cells.push_back(texts[c]);
    }
    return cells;
}

void printRow(const RowTexts& texts, std::size_t columns, std::size_t captionLimit)
{
    printCells(rowCells(texts, columns, captionLimit));
}

std::string captionNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
    return text;
}

std::string decimalSeparator()
{
    const std::lconv* conventions = std::localeconv();
    return conventions && conventions->decimal_point && *conventions->decimal_point ? conventions->decimal_point : ".";
}

bool countOption(const std::vector<std::string>& arguments, int& count)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "--count" || i + 1 >= arguments.size()) {
            std::cerr << "Неверный параметр: " << arguments[i] << ".\n";
            return false;
        }
        const std::string& value = arguments[++i];
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
        if (error != std::errc() || end != value.data() + value.size() || count < 1) {
            std::cerr << "Неверное число опросов: " << value << ".\n";
            return false;
        }
    }
    return true;
}

}  // namespace orvanic::cli
