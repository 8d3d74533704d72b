#include "app/gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <iostream>

#include "app/connect_device.h"
#include "app/gui/lock_keys.h"
#include "app/gui/message_box.h"
#include "app/gui/parametr_dialog.h"
#include "app/gui/port_list.h"
#include "app/gui/result_table_model.h"
#include "link/gui/connect_worker.h"
#include "link/gui/connection_dialog.h"

namespace orvanic::gui {
namespace {

constexpr int kColumnWidth = 50;
const QString kProductName = "Visual Orvanic";

QFont tableFont()
{
    QFont f("Times New Roman");
    f.setPixelSize(14);
    return f;
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
    , m_header(new HeaderPanel)
    , m_table(new ResultTableModel(this))
    , m_view(new QTableView)
    , m_timer(new QTimer(this))
{
    setObjectName("frmMain");
    setWindowTitle(kProductName);
    setWindowIcon(QIcon(":/icons/app.svg"));

    m_view->setObjectName("lstMain");
    m_view->setModel(m_table);
    m_view->setShowGrid(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_view->setFont(tableFont());
    m_view->setIconSize(QSize(16, 16));
    m_view->setWordWrap(false);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_view);
    setCentralWidget(central);

    buildMenus();
    buildToolBar();
    buildStatusBar();

    resize(984, 542);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    FormCreate();
    connect(m_timer, &QTimer::timeout, this, &TfrmMain::tmrMainTimer);
    m_timer->start(1000);
}

TfrmMain::~TfrmMain()
{
    // A connection attempt still running must end before the session goes.
    if (m_connectWorker) {
        m_session.link.port.interrupt();
        m_connectWorker->wait();
    }
}

QAction* TfrmMain::command(const QString& name, const QString& text, void (TfrmMain::*handler)())
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    m_actions[name] = action;
    return action;
}

void TfrmMain::buildMenus()
{
    QMenu* program = menuBar()->addMenu("Программа");
    program->addAction(command("NSaveAs", "Сохранить как", nullptr));
    program->addAction(command("NOpen", "Открыть", nullptr));
    QMenu* exportMenu = program->addMenu("Экспорт");
    exportMenu->addAction(command("NCalc", "Calc (*.odt)", nullptr));
    exportMenu->addAction(command("Ncsv", "*.csv", nullptr));
    exportMenu->addAction(command("NExcel", "Excel (*.xls)", nullptr));
    program->addSeparator();
    program->addAction(command("NClose", "Завершить", nullptr));
    connect(m_actions["NClose"], &QAction::triggered, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu("Вид");
    QAction* toolbar = command("NToolbar", "Панель инструментов", nullptr);
    view->addAction(toolbar);
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* status = command("NStatus", "Строка состояния", nullptr);
    view->addAction(status);
    status->setCheckable(true);
    status->setChecked(true);
    connect(toolbar, &QAction::toggled, this, [this](bool on) { m_toolBar->setVisible(on); });
    connect(status, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    QMenu* style = view->addMenu("Стиль");
    const std::pair<const char*, const char*> styles[] = {
        {"NClassic", "Classic"},           {"NWindowsXP", "Windows XP"},     {"NGradientSystem", "Gradient System"},
        {"NGradientOffice", "Gradient MS Office"}, {"NGradientCustom", "Gradient Custom"},
    };
    for (int tag = 1; tag <= 5; ++tag) {
        QAction* item = command(styles[tag - 1].first, styles[tag - 1].second, nullptr);
        style->addAction(item);
        item->setCheckable(true);
        item->setChecked(tag == 3);
        m_styleItems.push_back(item);
        connect(item, &QAction::triggered, this, [this, tag] { VisualStyleClick(tag); });
    }

    QMenu* device = menuBar()->addMenu("Прибор");
    device->addAction(command("NConnect", "Подключить МВУ", &TfrmMain::ConnectFrm));
    device->addAction(command("NDisconnect", "Отключить МВУ", &TfrmMain::DisConnect));

    QMenu* dataMenu = menuBar()->addMenu("Данные");
    dataMenu->addAction(command("NDateTime", "Установить дату и время", nullptr));
    dataMenu->addSeparator();
    dataMenu->addAction(command("NCurrentData", "Текущие данные", nullptr));
    dataMenu->addAction(command("NScreenData", "Экранные данные", nullptr));
    dataMenu->addSeparator();
    dataMenu->addAction(command("NReadData", "Запросить данные", nullptr));

    QMenu* service = menuBar()->addMenu("Сервис");
    service->addAction(command("NParametr", "Параметры", &TfrmMain::Parametr));
    service->addAction(command("NConfigFields", "Конфигурация полей", nullptr));

    QMenu* help = menuBar()->addMenu("Справка");
    help->addAction(command("NHelp", "По программе", &TfrmMain::NHelpClick));
}

void TfrmMain::buildToolBar()
{
    m_toolBar = addToolBar("Панель инструментов");
    m_toolBar->setObjectName("tlbMain");
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(24, 24));
    // The captions must fit the fixed 105-pixel buttons whole.
    m_toolBar->setStyleSheet("QToolButton { padding: 1px; font-family: 'Liberation Sans'; font-size: 11px; }");
    auto button = [this](const char* name, const char* text, const char* icon, void (TfrmMain::*handler)()) {
        QAction* action = command(name, text, handler);
        action->setIcon(QIcon(QString(":/icons/") + icon));
        m_toolBar->addAction(action);
        m_toolBar->widgetForAction(action)->setFixedSize(105, 50);
    };
    button("btnParametr", "Параметры", "settings.svg", &TfrmMain::Parametr);
    m_toolBar->addSeparator();
    button("btnConnect", "Подключить", "connect.svg", &TfrmMain::ConnectFrm);
    button("btnDisconnect", "Отключить", "disconnect.svg", &TfrmMain::DisConnect);
    m_toolBar->addSeparator();
    button("btnDateTime", "Дата и время", "datetime.svg", nullptr);
    button("btnCurrentData", "Текущие данные", "current_data.svg", nullptr);
    button("btnScreenData", "Экранные данные", "screen_data.svg", nullptr);
    button("btnReadData", "Запросить данные", "archive.svg", nullptr);
    m_toolBar->addSeparator();
    button("btnMCUParam", "Параметры МВУ", "device_params.svg", nullptr);
}

void TfrmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("stbMain");
    bar->setSizeGripEnabled(true);
    m_progress = new QProgressBar;
    m_progress->setObjectName("pgsMain");
    m_progress->setFixedWidth(400);
    m_progress->setMaximumHeight(15);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    bar->addWidget(m_progress);
    auto indicator = [bar](const char* text) {
        auto* label = new QLabel(text);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(44);
        label->setAlignment(Qt::AlignCenter);
        bar->addWidget(label);
        return label;
    };
    m_caps = indicator("");
    m_num = indicator("");
    m_scroll = indicator("");
    bar->addPermanentWidget(new QLabel(kProductName));
    bar->addPermanentWidget(new QLabel(QString("Версия ") + ORVANIC_VERSION));
}

void TfrmMain::FormCreate()
{
    m_session.Pass = 0;
    m_session.pfPath = (QCoreApplication::applicationDirPath() + "/").toStdString();
    m_header->setLook(HeaderPanel::VisualStyle::Gradient, HeaderPanel::GradientScheme::System);
    m_header->setText(QString::fromUtf8(text::kNotConnected.data(), text::kNotConnected.size()));
    applySettings(m_session, readSettingsFile());
    m_session.devLink = 0;
    m_session.devAddress = 0;
    m_session.devCurrentData = m_session.devScreenData = m_session.devData = false;
    m_portNames = FindComPorts(QString::fromStdString(m_session.devPort));
    m_session.TimeRequest = 1;
    setState(AppState::NotConnected);
    tmrMainTimer();
}

void TfrmMain::setState(AppState state)
{
    m_state = state;
    applyCommandStates();
}

void TfrmMain::applyCommandStates()
{
    const CommandStates c = commandStatesFor(m_state, m_fieldsKnown);
    const std::pair<const char*, bool> pairs[] = {
        {"Connect", c.connect},         {"Disconnect", c.disconnect},   {"DateTime", c.dateTime},
        {"CurrentData", c.currentData}, {"ScreenData", c.screenData},   {"ReadData", c.readData},
    };
    for (const auto& [name, on] : pairs) {
        m_actions["N" + QString(name)]->setEnabled(on);
        m_actions["btn" + QString(name)]->setEnabled(on);
    }
    m_actions["NConfigFields"]->setEnabled(c.configFields);
    m_actions["btnMCUParam"]->setEnabled(c.mcuParam);
}

void TfrmMain::ConnectFrm()
{
    TfrmConnection dialog(m_session, this);
    dialog.exec();
    if (dialog.ConnectConfirmed())
        Connect();
}

void TfrmMain::Connect()
{
    m_table->clearAll();
    m_header->setText(QString::fromUtf8(text::kNotConnected.data(), text::kNotConnected.size()));
    m_cancelConnect = false;
    // A stop given to an earlier exchange must not cut this one short; it is
    // lifted here, before the worker starts, so a stop given from now on holds.
    m_session.link.port.resume();
    setState(AppState::Connecting);
    m_connectWorker = new ConnectWorker(m_session, this);
    connect(m_connectWorker, &QThread::finished, this, &TfrmMain::connectFinished);
    m_connectWorker->start();
}

void TfrmMain::connectFinished()
{
    const ConnectOutcome outcome = m_connectWorker->outcome();
    m_connectWorker->deleteLater();
    m_connectWorker = nullptr;

    if (outcome.connected && !m_cancelConnect && !m_closeWhenIdle) {
        showConnectedColumns();
        m_header->setText(QString::fromStdString(connectedHeaderText(m_session.DevStruct)));
        m_session.FieldsList = FillFieldList(columnCaptions(m_session));
        setState(AppState::ConnectedIdle);
        return;
    }
    ClosePort(m_session);
    setState(AppState::NotConnected);
    if (m_closeWhenIdle) {
        close();
        return;
    }
    if (outcome.message && !m_cancelConnect)
        showMessage(this, *outcome.message);
}

void TfrmMain::showConnectedColumns()
{
    QStringList captions;
    for (const std::string& caption : columnCaptions(m_session))
        captions << QString::fromStdString(caption);
    m_table->setColumns(captions);
    // Columns are 50 wide, or as wide as their caption needs to be read.
    for (int c = 0; c < captions.size(); ++c) {
        m_view->resizeColumnToContents(c);
        m_view->setColumnWidth(c, std::max(kColumnWidth, m_view->columnWidth(c)));
    }
    m_view->horizontalHeader()->show();
}

void TfrmMain::DisConnect()
{
    m_session.devCurrentData = m_session.devScreenData = m_session.devData = false;
    if (m_connectWorker) {
        // The port is closed once the identification has let go of it.
        m_cancelConnect = true;
        m_session.link.port.interrupt();
        return;
    }
    ClosePort(m_session);
    m_session.devType = TOrvanDevice::none;
    setState(AppState::NotConnected);
    m_header->setText(QString::fromUtf8(text::kNotConnected.data(), text::kNotConnected.size()));
    m_progress->setValue(0);
}

void TfrmMain::Parametr()
{
    TfrmParametr dialog(m_session, m_portNames, this);
    dialog.exec();
}

void TfrmMain::VisualStyleClick(int tag)
{
    auto style = HeaderPanel::VisualStyle::Gradient;
    auto scheme = HeaderPanel::GradientScheme::System;
    if (tag == 1)
        style = HeaderPanel::VisualStyle::Classic;
    else if (tag == 2)
        style = HeaderPanel::VisualStyle::WindowsXP;
    else if (tag == 4)
        scheme = HeaderPanel::GradientScheme::Office;
    else if (tag == 5)
        scheme = HeaderPanel::GradientScheme::Custom;
    m_header->setLook(style, scheme);
    // Check marks rather than an exclusive group's radio dots.
    for (std::size_t i = 0; i < m_styleItems.size(); ++i)
        m_styleItems[i]->setChecked(static_cast<int>(i) + 1 == tag);
}

void TfrmMain::NHelpClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(m_session.pfPath) + "qn.html"));
}

void TfrmMain::tmrMainTimer()
{
    const std::optional<LockKeys> keys = readLockKeys();
    m_caps->setText(keys ? "CAPS" : "");
    m_num->setText(keys ? "NUM" : "");
    m_scroll->setText(keys ? "SCRL" : "");
    if (keys) {
        m_caps->setEnabled(keys->caps);
        m_num->setEnabled(keys->num);
        m_scroll->setEnabled(keys->scroll);
    }
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_connectWorker) {
        // Exit waits for the identification to let go of the port, without
        // blocking the window: the close is given again when it has.
        m_closeWhenIdle = true;
        m_session.link.port.interrupt();
        event->ignore();
        return;
    }
    ProgramExit();
    event->accept();
}

void TfrmMain::ProgramExit()
{
    if (m_session.link.port.isOpen()) {
        m_session.devCurrentData = m_session.devScreenData = m_session.devData = false;
        ClosePort(m_session);
        m_session.devType = TOrvanDevice::none;
    }
    if (!writeSettingsFile(currentSettings(m_session)))
        std::cerr << "Не удалось записать файл настроек " << kSettingsFileName << ".\n";
}

}  // namespace orvanic::gui
