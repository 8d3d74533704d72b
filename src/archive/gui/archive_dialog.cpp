#include "archive/gui/archive_dialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace orvanic::gui {
namespace {

QComboBox* hours(int selected, const char* name)
{
    auto* box = new QComboBox;
    for (int h = 0; h < 24; ++h)
        box->addItem(QString::number(h));
    box->setCurrentIndex(selected);
    box->setObjectName(name);
    return box;
}

QDateEdit* today(const char* name)
{
    auto* edit = new QDateEdit(QDate::currentDate());
    edit->setDisplayFormat("dd.MM.yyyy");
    edit->setCalendarPopup(true);
    edit->setObjectName(name);
    return edit;
}

CalendarDate calendar(const QDate& d)
{
    return {d.year(), d.month(), d.day()};
}

}  // namespace

TfrmArchive::TfrmArchive(QWidget* parent)
    : QDialog(parent)
    , m_type(new QComboBox)
    , m_begin(today("edtBeginDate"))
    , m_end(today("edtEndDate"))
    , m_hoursFrom(new QLabel("с"))
    , m_beginHour(hours(0, "cmbHHBegin"))
    , m_hoursTo(new QLabel("по"))
    , m_endHour(hours(23, "cmbHHEnd"))
{
    setWindowTitle("Архивные данные");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    m_type->setObjectName("cmbType");
    m_type->addItems({"по часам", "по суткам", "по месяцам"});
    m_hoursFrom->setObjectName("lblHHBegin");
    m_hoursTo->setObjectName("lblHHEnd");
    auto* read = new QPushButton("Считать");
    read->setObjectName("btnRead");
    read->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Вид запроса"), 0, 0);
    grid->addWidget(m_type, 0, 1, 1, 4);
    grid->addWidget(new QLabel("Начальная дата"), 1, 0);
    grid->addWidget(m_begin, 1, 1, 1, 4);
    grid->addWidget(new QLabel("Конечная дата"), 2, 0);
    grid->addWidget(m_end, 2, 1, 1, 4);
    grid->addWidget(m_hoursFrom, 3, 1);
    grid->addWidget(m_beginHour, 3, 2);
    grid->addWidget(m_hoursTo, 3, 3);
    grid->addWidget(m_endHour, 3, 4);
    grid->addWidget(read, 4, 0, 1, 5, Qt::AlignHCenter);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_type, &QComboBox::currentIndexChanged, this, &TfrmArchive::cmbTypeChange);
    connect(read, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmArchive::cmbTypeChange(int index)
{
    if (index < 0)
        return;
    const bool hourly = index == 0;
    for (QWidget* w : {static_cast<QWidget*>(m_hoursFrom), static_cast<QWidget*>(m_beginHour), static_cast<QWidget*>(m_hoursTo),
                       static_cast<QWidget*>(m_endHour)})
        w->setVisible(hourly);
}

ArchiveType TfrmArchive::type() const
{
    return static_cast<ArchiveType>(m_type->currentIndex());
}

CalendarDate TfrmArchive::beginDate() const
{
    return calendar(m_begin->date());
}

CalendarDate TfrmArchive::endDate() const
{
    return calendar(m_end->date());
}

int TfrmArchive::beginHour() const
{
    return m_beginHour->currentIndex();
}

int TfrmArchive::endHour() const
{
    return m_endHour->currentIndex();
}

}  // namespace orvanic::gui
