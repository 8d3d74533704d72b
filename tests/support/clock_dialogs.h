#pragma once

#include <QApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QList>
#include <QTimeEdit>
#include <QTimer>

#include "acquire/gui/date_time_dialog.h"

namespace orvanic::test {

// Closes every clock dialog that opens while it lives, noting the date and
// time each showed. One for a whole test, so no dialog is ever left open to
// block it and none is caught twice.
class ClockDialogs {
public:
    ClockDialogs()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto* d = qobject_cast<gui::TfrmDateTime*>(QApplication::activeModalWidget())) {
                m_shown << QDateTime(d->findChild<QDateEdit*>("edtDate")->date(), d->findChild<QTimeEdit*>("edtTime")->time());
                d->close();
            }
        });
        m_timer.start(20);
    }

    const QList<QDateTime>& shown() const { return m_shown; }

private:
    QTimer m_timer;
    QList<QDateTime> m_shown;
};

}  // namespace orvanic::test
