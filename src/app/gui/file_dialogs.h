#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace orvanic::gui {

enum class FileDialogKind { SaveDataFile, OpenDataFile, SaveCsvFile };

// The program's file dialogs: the chosen name, or empty when cancelled.
// The data-file dialogs offer "Visual Orvanic (*.dat)", the CSV export
// "CSV (*.csv)"; saving does not ask before replacing a file.
QString chooseFile(QWidget* parent, FileDialogKind kind);

// While a source is set, names come from it instead of a dialog (tests).
void setFileNameSource(std::function<QString(FileDialogKind)> source);

}  // namespace orvanic::gui
