#include "app/gui/file_dialogs.h"

#include <QFileDialog>

namespace orvanic::gui {
namespace {

const QString kDataFileFilter = "Visual Orvanic (*.dat)";

std::function<QString(FileDialogKind)>& source()
{
    static std::function<QString(FileDialogKind)> s;
    return s;
}

}  // namespace

QString chooseFile(QWidget* parent, FileDialogKind kind)
{
    if (source())
        return source()(kind);
    switch (kind) {
    case FileDialogKind::SaveDataFile:
        return QFileDialog::getSaveFileName(parent, "Сохранить как", QString(), kDataFileFilter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    case FileDialogKind::OpenDataFile:
        return QFileDialog::getOpenFileName(parent, "Открыть", QString(), kDataFileFilter);
    case FileDialogKind::SaveCsvFile:
        return QFileDialog::getSaveFileName(parent, "Экспорт", QString(), "CSV (*.csv)", nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    return {};
}

void setFileNameSource(std::function<QString(FileDialogKind)> s)
{
    source() = std::move(s);
}

}  // namespace orvanic::gui
