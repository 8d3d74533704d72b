#pragma once

#include "files/sheet_layout.h"

class QWidget;

namespace orvanic::gui {

enum class SpreadsheetKind {
    Excel,  // .xlsx, numbers as numbers, totals bold
    Calc,   // .ods, every cell a text
};

// Writes the table's sheet into a fresh temporary folder and opens it as a
// new document in the desktop's spreadsheet application. Says so when no
// such application is installed or a step fails; the cursor shows the wait
// and returns to normal on every path.
void exportSpreadsheet(QWidget* parent, SpreadsheetKind kind, const SheetSource& source);

}  // namespace orvanic::gui
