#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTimeEdit;

namespace orvanic {
struct Session;
}

namespace orvanic::gui {

// "Дата и время": the device clock as read, to be corrected and sent with
// "Подтвердить". Closing it any other way sends nothing.
class TfrmDateTime : public QDialog {
    Q_OBJECT
public:
    TfrmDateTime(Session& session, const QDate& date, const QTime& time, QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    void btnOkClick();

    Session& m_session;
    QDateEdit* m_date;
    QTimeEdit* m_time;
    QPushButton* m_ok;
};

}  // namespace orvanic::gui
