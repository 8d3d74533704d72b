#pragma once

#include <QDialog>
#include <vector>

class QTreeWidget;

namespace orvanic {
struct Session;
}

namespace orvanic::gui {

// "Конфигуратор полей": which columns the exports write. The check boxes
// reach the field selection only with "Применить"; "Конфигурация" saves
// them to the device's field-set file or loads them from it.
class TfrmFields : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFields(Session& session, QWidget* parent = nullptr);

private:
    void FormActivate();
    void btnOkClick();
    void NSaveClick();
    void NLoadClick();
    std::vector<std::string> names() const;
    std::vector<bool> checks() const;
    void setChecks(const std::vector<bool>& checks);

    Session& m_session;
    QTreeWidget* m_fields;
};

}  // namespace orvanic::gui
