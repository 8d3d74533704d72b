#include "files/gui/spreadsheet_export.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <string>

#include "app/gui/message_box.h"
#include "files/ods_document.h"
#include "files/xlsx_workbook.h"

namespace orvanic::gui {
namespace {

constexpr std::string_view kFailureCaption = "Ошибка передачи данных";

// LibreOffice under its usual names; it opens both kinds of file.
QString spreadsheetApplication()
{
    for (const char* name : {"soffice", "libreoffice", "localc"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::optional<UserMessage> writeSheet(SpreadsheetKind kind, const std::string& file, const SheetLayout& layout)
{
    return kind == SpreadsheetKind::Excel ? writeXlsxWorkbook(file, layout) : writeOdsDocument(file, layout);
}

}  // namespace

void exportSpreadsheet(QWidget* parent, SpreadsheetKind kind, const SheetSource& source)
{
    const QString application = spreadsheetApplication();
    if (application.isEmpty()) {
        const std::string_view text = kind == SpreadsheetKind::Excel ? "MS Office не установлен." : "Open Office не установлен.";
        showMessage(parent, {std::string(text), std::string(kFailureCaption)});
        return;
    }
    std::optional<UserMessage> failed;
    {
        const WaitCursor wait;
        // The folder outlives the program: the application reads the file
        // after we have handed it over.
        QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("orvanic-export-XXXXXX")));
        folder.setAutoRemove(false);
        const QString file =
            folder.filePath(kind == SpreadsheetKind::Excel ? QStringLiteral("orvanic.xlsx") : QStringLiteral("orvanic.ods"));
        if (!folder.isValid())
            failed = UserMessage{"Не удалось создать временную папку для экспорта.", std::string(kFailureCaption)};
        else
            failed = writeSheet(kind, file.toStdString(), sheetLayout(source));
        // "-n" opens the file as a new, untitled document.
        if (!failed && !QProcess::startDetached(application, {QStringLiteral("--calc"), QStringLiteral("-n"), file}))
            failed = UserMessage{"Не удалось запустить " + application.toStdString() + ".", std::string(kFailureCaption)};
        if (failed && folder.isValid())
            folder.remove();
    }
    if (failed)
        showMessage(parent, *failed);
}

}  // namespace orvanic::gui
