#include "app/gui/password_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/session.h"

namespace orvanic::gui {
namespace {

// The B8 has a service password of its own.
QString expectedPassword(TOrvanDevice model)
{
    return model == TOrvanDevice::mcuB8 ? "K*P*W*" : "B*X*Q*";
}

}  // namespace

TfrmPassword::TfrmPassword(Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_passwd(new QLineEdit)
    , m_show(new QCheckBox("Показать символы"))
{
    setObjectName("frmPassword");
    setWindowTitle("Введите пароль");
    // A title bar without a close box: the dialog is left by its buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    m_passwd->setObjectName("edtPasswd");
    m_show->setObjectName("ckbPasswd");
    m_show->setChecked(false);
    auto* ok = new QPushButton("Подтвердить");
    ok->setObjectName("btnOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Отмена");
    cancel->setObjectName("btnCancel");

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(4);
    layout->addWidget(m_passwd);
    layout->addWidget(m_show);
    layout->addLayout(buttons);
    setFixedSize(192, 86);

    connect(m_show, &QCheckBox::clicked, this, &TfrmPassword::ckbPasswdClick);
    connect(ok, &QPushButton::clicked, this, &TfrmPassword::btnOkClick);
    connect(cancel, &QPushButton::clicked, this, &TfrmPassword::btnCancelClick);
    FormCreate();
}

void TfrmPassword::FormCreate()
{
    // "*" rather than the style's own dot.
    m_passwd->setStyleSheet("QLineEdit { lineedit-password-character: 42; }");
    m_passwd->setEchoMode(QLineEdit::Password);
}

void TfrmPassword::ckbPasswdClick()
{
    m_passwd->setEchoMode(m_show->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}

void TfrmPassword::btnOkClick()
{
    if (m_passwd->text() == expectedPassword(m_session.devType))
        m_session.Pass = 1;
    accept();
}

void TfrmPassword::btnCancelClick()
{
    reject();
}

}  // namespace orvanic::gui
