#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace orvanic {
struct Session;
}

namespace orvanic::gui {

// "Параметры": line settings, protocol, log switch, poll interval and the
// energy unit. Changes reach the session only on "Применить".
class TfrmParametr : public QDialog {
    Q_OBJECT
public:
    TfrmParametr(Session& session, const QStringList& portNames, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void btnOkClick();

    Session& m_session;
    QStringList m_portNames;
    int m_energyUnitOnOpen = 0;
    QComboBox* m_port;
    QComboBox* m_speed;
    QComboBox* m_bits;
    QSpinBox* m_interval;
    QRadioButton* m_own;
    QRadioButton* m_modbus;
    QCheckBox* m_log;
    QComboBox* m_energy;
};

}  // namespace orvanic::gui
