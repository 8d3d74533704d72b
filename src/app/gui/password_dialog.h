#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace orvanic {
struct Session;
}

namespace orvanic::gui {

// "Введите пароль": the service password in front of the parameter editor.
// A correct entry sets the session's Pass to 1, and the main window's timer
// then opens the editor. Every button closes the dialog; a wrong entry is
// not remarked on.
class TfrmPassword : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPassword(Session& session, QWidget* parent = nullptr);

private:
    void FormCreate();
    void ckbPasswdClick();
    void btnOkClick();
    void btnCancelClick();

    Session& m_session;
    QLineEdit* m_passwd;
    QCheckBox* m_show;
};

}  // namespace orvanic::gui
