#pragma once

#include <QDialog>

#include "archive/archive_walk.h"

class QComboBox;
class QDateEdit;
class QLabel;

namespace orvanic::gui {

// "Архивные данные": the kind of record, the date range and, for hourly
// records, the hours. "Считать" accepts; nothing is checked, as any range
// makes a walk.
class TfrmArchive : public QDialog {
    Q_OBJECT
public:
    explicit TfrmArchive(QWidget* parent = nullptr);

    ArchiveType type() const;
    CalendarDate beginDate() const;
    CalendarDate endDate() const;
    int beginHour() const;
    int endHour() const;

private:
    void cmbTypeChange(int index);

    QComboBox* m_type;
    QDateEdit* m_begin;
    QDateEdit* m_end;
    QLabel* m_hoursFrom;
    QComboBox* m_beginHour;
    QLabel* m_hoursTo;
    QComboBox* m_endHour;
};

}  // namespace orvanic::gui
