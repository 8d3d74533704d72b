#include "app/gui/parametr_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/gui/message_box.h"
#include "app/session.h"

namespace orvanic::gui {
namespace {

const QStringList kSpeeds = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};

QComboBox* dropDown(const QStringList& items, const char* name)
{
    auto* box = new QComboBox;
    box->addItems(items);
    box->setObjectName(name);
    return box;
}

}  // namespace

TfrmParametr::TfrmParametr(Session& session, const QStringList& portNames, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_portNames(portNames)
    , m_port(dropDown({}, "cmbPort"))
    , m_speed(dropDown(kSpeeds, "cmbSpeed"))
    , m_bits(dropDown({"7", "8"}, "cmbBits"))
    , m_interval(new QSpinBox)
    , m_own(new QRadioButton("Протокол Orvanic"))
    , m_modbus(new QRadioButton("Протокол Modbus (режим RTU)"))
    , m_log(new QCheckBox("Log-файл"))
    , m_energy(dropDown({"ГДж", "Гкал"}, "cmbEnergy"))
{
    setWindowTitle("Параметры");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    m_interval->setObjectName("sedInterval");
    m_interval->setRange(1, 60);
    m_own->setObjectName("rbOwn");
    m_modbus->setObjectName("rbModbus");
    m_log->setObjectName("chkLog");

    auto* link = new QWidget;
    auto* form = new QFormLayout;
    form->addRow("Порт", m_port);
    form->addRow("Скорость", m_speed);
    form->addRow("Количество бит", m_bits);
    form->addRow("Время между опросами, сек", m_interval);
    auto* protocol = new QGroupBox("Протокол");
    auto* protocolLayout = new QVBoxLayout(protocol);
    protocolLayout->addWidget(m_own);
    protocolLayout->addWidget(m_modbus);
    auto* logGroup = new QGroupBox("Журнал обмена");
    (new QVBoxLayout(logGroup))->addWidget(m_log);
    auto* linkLayout = new QVBoxLayout(link);
    linkLayout->addLayout(form);
    linkLayout->addWidget(protocol);
    linkLayout->addWidget(logGroup);
    linkLayout->addStretch();

    auto* units = new QWidget;
    auto* unitsForm = new QFormLayout(units);
    unitsForm->addRow("Единица измерения энергии", m_energy);

    auto* pages = new QTabWidget;
    pages->addTab(link, "Связь с прибором");
    pages->addTab(units, "Единицы измерения");

    auto* ok = new QPushButton("Применить");
    ok->setObjectName("btnOk");
    connect(ok, &QPushButton::clicked, this, &TfrmParametr::btnOkClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedSize(392, 366);
}

void TfrmParametr::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TfrmParametr::FormActivate()
{
    m_port->clear();
    m_port->addItems(m_portNames);
    m_port->setCurrentIndex(static_cast<int>(m_portNames.indexOf(QString::fromStdString(m_session.devPort))));
    const auto speed = kSpeeds.indexOf(QString::fromStdString(m_session.devVelocity));
    m_speed->setCurrentIndex(static_cast<int>(speed >= 0 ? speed : kSpeeds.indexOf("9600")));
    m_bits->setCurrentIndex(m_session.devBits == 7 ? 0 : 1);
    m_own->setChecked(m_session.devProtocol == 0);
    m_modbus->setChecked(m_session.devProtocol == 1);
    m_energyUnitOnOpen = m_session.devTypeEnergy == 1 ? 1 : 0;
    m_energy->setCurrentIndex(m_energyUnitOnOpen);
    m_log->setChecked(m_session.devLogFile);
    m_interval->setValue(m_session.TimeRequest);
}

void TfrmParametr::btnOkClick()
{
    m_session.devTypeEnergy = static_cast<std::uint8_t>(m_energy->currentIndex());
    if (m_port->currentIndex() >= 0)
        m_session.devPort = m_port->currentText().toStdString();
    if (m_speed->currentIndex() >= 0) {
        m_session.devVelocity = m_speed->currentText().toStdString();
        m_session.devVelocityInt = velocityValue(m_session.devVelocity);
    }
    m_session.devBits = static_cast<std::uint8_t>(7 + m_bits->currentIndex());
    if (m_own->isChecked())
        m_session.devProtocol = 0;
    else if (m_modbus->isChecked())
        m_session.devProtocol = 1;
    m_session.devLogFile = m_log->isChecked();
    if (m_energy->currentIndex() != m_energyUnitOnOpen)
        showMessage(this, {"Было изменение единиц измерения энергии. Перезагрузите данные.", std::string(caption::kAttention)});
    m_session.TimeRequest = m_interval->value();
    accept();
}

}  // namespace orvanic::gui
