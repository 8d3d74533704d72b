#pragma once

#include <QDateTime>
#include <QString>

namespace orvanic::gui {

// A data row's caption: the regional short date and long time, the time
// without its zone, e.g. 10.12.2026 20:45:12.
QString rowCaption(const QDateTime& at);
QString rowCaptionNow();

// The regional decimal separator.
QString decimalSeparator();

}  // namespace orvanic::gui
