#include "files/gui/fields_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/message_box.h"
#include "app/session.h"
#include "files/field_set_file.h"

namespace orvanic::gui {

TfrmFields::TfrmFields(Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_fields(new QTreeWidget)
{
    setWindowTitle("Конфигуратор полей");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    m_fields->setObjectName("lstFields");
    m_fields->setColumnCount(1);
    m_fields->setHeaderLabels({"Наименование полей"});
    m_fields->setRootIsDecorated(false);
    m_fields->header()->resizeSection(0, 220);

    auto* ok = new QPushButton("Применить");
    ok->setObjectName("btnOk");
    auto* config = new QPushButton("Конфигурация");
    config->setObjectName("btnConfig");
    auto* menu = new QMenu(config);
    menu->setObjectName("ppmFields");
    QAction* save = menu->addAction("Сохранить");
    save->setObjectName("NSave");
    QAction* load = menu->addAction("Загрузить");
    load->setObjectName("NLoad");
    config->setMenu(menu);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(config);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fields);
    layout->addLayout(buttons);
    setFixedSize(242, 366);

    connect(ok, &QPushButton::clicked, this, &TfrmFields::btnOkClick);
    connect(save, &QAction::triggered, this, &TfrmFields::NSaveClick);
    connect(load, &QAction::triggered, this, &TfrmFields::NLoadClick);
    FormActivate();
}

void TfrmFields::FormActivate()
{
    m_fields->clear();
    const AFieldsList& list = m_session.FieldsList;
    for (std::size_t i = 0; i < list.Count; ++i) {
        auto* item = new QTreeWidgetItem(m_fields, {QString::fromStdString(list.FieldItem[i].NameField)});
        item->setCheckState(0, list.FieldItem[i].Flag ? Qt::Checked : Qt::Unchecked);
    }
}

std::vector<std::string> TfrmFields::names() const
{
    std::vector<std::string> out;
    for (int i = 0; i < m_fields->topLevelItemCount(); ++i)
        out.push_back(m_fields->topLevelItem(i)->text(0).toStdString());
    return out;
}

std::vector<bool> TfrmFields::checks() const
{
    std::vector<bool> out;
    for (int i = 0; i < m_fields->topLevelItemCount(); ++i)
        out.push_back(m_fields->topLevelItem(i)->checkState(0) == Qt::Checked);
    return out;
}

void TfrmFields::setChecks(const std::vector<bool>& checks)
{
    for (int i = 0; i < m_fields->topLevelItemCount() && static_cast<std::size_t>(i) < checks.size(); ++i)
        m_fields->topLevelItem(i)->setCheckState(0, checks[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
}

void TfrmFields::btnOkClick()
{
    applySelection(m_session.FieldsList, checks());
    accept();
}

void TfrmFields::NSaveClick()
{
    const auto file = fieldSetFileName(m_session.pfPath, m_session.DevStruct.DeviceName);
    if (const auto failed = saveFieldSetFile(file, names(), checks()))
        showMessage(this, *failed);
}

void TfrmFields::NLoadClick()
{
    std::vector<bool> current = checks();
    const auto file = fieldSetFileName(m_session.pfPath, m_session.DevStruct.DeviceName);
    const auto problem = loadFieldSetFile(file, names(), current);
    setChecks(current);
    if (problem)
        showMessage(this, *problem);
}

}  // namespace orvanic::gui
