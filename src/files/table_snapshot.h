#pragma once

#include <string>
#include <vector>

namespace orvanic {

// A result table as the files see it: the column titles (UTF-8; column 0 is
// "Дата и время") and the rows, each its first-column text followed by its
// cells for columns 1 on (a message row may hold its caption only).
struct TableSnapshot {
    std::vector<std::string> columnTitles;
    std::vector<std::vector<std::string>> rows;
};

}  // namespace orvanic
