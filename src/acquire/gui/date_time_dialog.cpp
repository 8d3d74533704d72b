#include "acquire/gui/date_time_dialog.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLocale>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "acquire/gui/date_time_worker.h"
#include "app/session.h"

namespace orvanic::gui {
namespace {

// Day, month, four-digit year, with the regional date separator.
QString dateFormat()
{
    const QString shortFormat = QLocale::system().dateFormat(QLocale::ShortFormat);
    QChar separator = '.';
    for (const QChar c : shortFormat) {
        if (!c.isLetter()) {
            separator = c;
            break;
        }
    }
    return QString("dd%1MM%1yyyy").arg(separator);
}

}  // namespace

TfrmDateTime::TfrmDateTime(Session& session, const QDate& date, const QTime& time, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_date(new QDateEdit(date))
    , m_time(new QTimeEdit(time))
    , m_ok(new QPushButton("Подтвердить"))
{
    setWindowTitle("Дата и время");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    m_date->setObjectName("edtDate");
    m_date->setDisplayFormat(dateFormat());
    m_time->setObjectName("edtTime");
    m_time->setDisplayFormat("HH:mm:ss");
    m_ok->setObjectName("btnOk");
    m_ok->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow("Дата", m_date);
    form->addRow("Время", m_time);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_ok, &QPushButton::clicked, this, &TfrmDateTime::btnOkClick);
}

void TfrmDateTime::reject()
{
    // Once the frame is on its way the dialog waits for it.
    if (m_ok->isEnabled())
        QDialog::reject();
}

void TfrmDateTime::btnOkClick()
{
    const QDate d = m_date->date();
    const QTime t = m_time->time();
    m_ok->setEnabled(false);
    auto* worker = new SetDateTimeWorker(m_session, {d.year(), d.month(), d.day()}, {t.hour(), t.minute(), t.second()}, this);
    // The dialog closes once the frame is out and the line is quiet again.
    connect(worker, &QThread::finished, this, &QDialog::accept);
    worker->start();
}

}  // namespace orvanic::gui
