#include "acquire/gui/regional_format.h"

#include <QLocale>
#include <QRegularExpression>

namespace orvanic::gui {

QString rowCaption(const QDateTime& at)
{
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    // A zone in the caption would push it past the 20 characters that tell
    // a data row from a message row.
    timeFormat.remove(QRegularExpression("\\s*t+\\s*"));
    return locale.toString(at.date(), QLocale::ShortFormat) + " " + locale.toString(at.time(), timeFormat.trimmed());
}

QString rowCaptionNow()
{
    return rowCaption(QDateTime::currentDateTime());
}

QString decimalSeparator()
{
    return QLocale::system().decimalPoint();
}

}  // namespace orvanic::gui
