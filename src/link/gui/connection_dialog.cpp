#include "link/gui/connection_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/session.h"

namespace orvanic::gui {
namespace {

constexpr int kMaxAddress = 255;

}  // namespace

TfrmConnection::TfrmConnection(Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_link(new QComboBox)
    , m_address(new QSpinBox)
{
    setWindowTitle("Подключение");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    m_link->setObjectName("cmbLink");
    m_link->addItems({"RS-232C", "RS-485"});
    m_link->setCurrentIndex(session.devLink == 1 ? 1 : 0);
    m_address->setObjectName("edtAddress");
    // Typing past 255 is allowed and brought back to 255 as the operator types.
    m_address->setRange(0, 999);
    m_address->setValue(session.devAddress);

    auto* ok = new QPushButton("Применить");
    ok->setObjectName("btnOk");
    ok->setDefault(true);

    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->addRow("Подключение по", m_link);
    form->addRow("Адрес устройства", m_address);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(242, 216);

    connect(m_link, &QComboBox::activated, this, &TfrmConnection::cmbLinkSelect);
    connect(m_address, &QSpinBox::textChanged, this, &TfrmConnection::edtAddressChange);
    connect(ok, &QPushButton::clicked, this, &TfrmConnection::btnOkClick);
}

void TfrmConnection::cmbLinkSelect(int index)
{
    m_session.devLink = static_cast<std::uint8_t>(index);
}

void TfrmConnection::edtAddressChange()
{
    if (m_address->value() > kMaxAddress)
        m_address->setValue(kMaxAddress);
    if (!m_address->cleanText().isEmpty())
        m_session.devAddress = static_cast<std::uint8_t>(m_address->value());
}

void TfrmConnection::btnOkClick()
{
    m_confirmed = true;
    accept();
}

}  // namespace orvanic::gui
