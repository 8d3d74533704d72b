#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace orvanic {
struct Session;
}

namespace orvanic::gui {

// "Подключение": the kind of link and the device address. It opens with
// the link and address in use, so what it shows is what "Применить" uses.
class TfrmConnection : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConnection(Session& session, QWidget* parent = nullptr);

    bool ConnectConfirmed() const { return m_confirmed; }

private:
    void cmbLinkSelect(int index);
    void edtAddressChange();
    void btnOkClick();

    Session& m_session;
    QComboBox* m_link;
    QSpinBox* m_address;
    bool m_confirmed = false;
};

}  // namespace orvanic::gui
