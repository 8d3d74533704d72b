#include "app/gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
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

#include "acquire/device_clock.h"
#include "acquire/gui/date_time_dialog.h"
#include "acquire/gui/date_time_worker.h"
#include "acquire/gui/regional_format.h"
#include "acquire/gui/poll_worker.h"
#include "acquire/table_row.h"
#include "archive/gui/archive_dialog.h"
#include "archive/gui/archive_worker.h"
#include "files/atomic_file.h"
#include "files/csv_export.h"
#include "files/data_file.h"
#include "files/export_name.h"
#include "files/gui/fields_dialog.h"
#include "files/gui/spreadsheet_export.h"
#include "app/connect_device.h"
#include "app/gui/file_dialogs.h"
#include "app/gui/lock_keys.h"
#include "app/gui/message_box.h"
#include "app/gui/parametr_dialog.h"
#include "app/gui/password_dialog.h"
#include "archive/gui/mcu_param_window.h"
#include "app/gui/port_list.h"
#include "app/gui/result_table_model.h"
#include "link/gui/connect_worker.h"
#include "link/gui/connection_dialog.h"

namespace orvanic::gui {
namespace {

constexpr int kColumnWidth = 50;
// A row shows its values when its caption is shorter than this.
constexpr std::size_t kPollCaptionLimit = 20;
constexpr std::size_t kArchiveCaptionLimit = 14;
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
    m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(tableFont()).height() + 6);
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
    // Workers use the session, so they must end before it goes. A worker may
    // be waiting to hand a row to this thread, so those hand-overs are let
    // through meanwhile. Closing the window never gets here with workers
    // running; this is the fallback for a window destroyed without closing.
    stopExchanges();
    for (QThread* worker : m_workers) {
        while (!worker->wait(20))
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
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
    program->addAction(command("NSaveAs", "Сохранить как", &TfrmMain::NSaveAsClick));
    program->addAction(command("NOpen", "Открыть", &TfrmMain::NOpenClick));
    QMenu* exportMenu = program->addMenu("Экспорт");
    exportMenu->addAction(command("NCalc", "Calc (*.odt)", &TfrmMain::NCalcClick));
    exportMenu->addAction(command("Ncsv", "*.csv", &TfrmMain::NcsvClick));
    exportMenu->addAction(command("NExcel", "Excel (*.xls)", &TfrmMain::NExcelClick));
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
    dataMenu->addAction(command("NDateTime", "Установить дату и время", &TfrmMain::ReadDateTime));
    dataMenu->addSeparator();
    dataMenu->addAction(command("NCurrentData", "Текущие данные", &TfrmMain::ReadCurrentData));
    dataMenu->addAction(command("NScreenData", "Экранные данные", &TfrmMain::ReadScreenData));
    dataMenu->addSeparator();
    dataMenu->addAction(command("NReadData", "Запросить данные", &TfrmMain::ReadArchiveData));

    QMenu* service = menuBar()->addMenu("Сервис");
    service->addAction(command("NParametr", "Параметры", &TfrmMain::Parametr));
    service->addAction(command("NConfigFields", "Конфигурация полей", &TfrmMain::NConfigFieldsClick));

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
    button("btnDateTime", "Дата и время", "datetime.svg", &TfrmMain::ReadDateTime);
    button("btnCurrentData", "Текущие данные", "current_data.svg", &TfrmMain::ReadCurrentData);
    button("btnScreenData", "Экранные данные", "screen_data.svg", &TfrmMain::ReadScreenData);
    button("btnReadData", "Запросить данные", "archive.svg", &TfrmMain::ReadArchiveData);
    m_toolBar->addSeparator();
    button("btnMCUParam", "Параметры МВУ", "device_params.svg", &TfrmMain::btnMCUParamClick);
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
    showNotConnected();
    applySettings(m_session, readSettingsFile());
    m_session.devLink = 0;
    m_session.devAddress = 0;
    m_session.devCurrentData = m_session.devScreenData = m_session.devData = false;
    m_portNames = FindComPorts(QString::fromStdString(m_session.devPort));
    m_session.TimeRequest = 1;
    setState(AppState::NotConnected);
    tmrMainTimer();
}

void TfrmMain::showNotConnected()
{
    m_header->setText(QString::fromUtf8(text::kNotConnected.data(), static_cast<qsizetype>(text::kNotConnected.size())));
}

void TfrmMain::setState(AppState state)
{
    m_state = state;
    applyCommandStates();
}

void TfrmMain::applyCommandStates()
{
    CommandStates c = commandStatesFor(m_state, m_fieldsKnown);
    // After a disconnect, a new connection waits until the last worker has
    // let go of the port.
    c.connect = c.connect && m_workers.empty();
    // Between an accepted password and the editor's opening, at most a second,
    // no exchange may start that would still run under the editor.
    if (m_session.Pass == 1)
        c.dateTime = c.currentData = c.screenData = c.readData = c.mcuParam = false;
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
    showNotConnected();
    m_cancelConnect = false;
    setState(AppState::Connecting);
    auto* worker = new ConnectWorker(m_session, this);
    startWorker(worker, [this, worker] { connectFinished(*worker); });
}

void TfrmMain::connectFinished(const ConnectWorker& worker)
{
    const ConnectOutcome& outcome = worker.outcome();
    if (outcome.connected && !m_cancelConnect && !m_closeWhenIdle) {
        showConnectedColumns();
        m_header->setText(QString::fromStdString(connectedHeaderText(m_session.DevStruct)));
        setState(AppState::ConnectedIdle);
        return;
    }
    m_closePortWhenIdle = true;
    setState(AppState::NotConnected);
    if (outcome.message && !m_cancelConnect && !m_closeWhenIdle)
        showMessage(this, *outcome.message);
}

void TfrmMain::startWorker(QThread* worker, std::function<void()> ended)
{
    // A stop given to earlier exchanges must not cut this one short; it is
    // lifted only while no other worker runs, and before this one starts.
    if (m_workers.empty())
        m_session.link.port.resume();
    m_workers.push_back(worker);
    connect(worker, &QThread::finished, this, [this, worker, ended] {
        std::erase(m_workers, worker);
        ended();
        // "finished" comes just before the thread itself ends; waiting for
        // that moment is short and makes deleting the object safe.
        worker->wait();
        worker->deleteLater();
        afterWorkerEnded();
    });
    worker->start();
}

void TfrmMain::afterWorkerEnded()
{
    if (!m_workers.empty())
        return;
    if (m_closePortWhenIdle) {
        m_closePortWhenIdle = false;
        ClosePort(m_session);
    }
    applyCommandStates();
    if (m_closeWhenIdle)
        close();
}

void TfrmMain::stopExchanges()
{
    m_session.devCurrentData = m_session.devScreenData = m_session.devData = false;
    if (!m_workers.empty())
        m_session.link.port.interrupt();
}

void TfrmMain::ReadCurrentData()
{
    togglePoll(PollKind::Current);
}

void TfrmMain::ReadScreenData()
{
    togglePoll(PollKind::Screen);
}

void TfrmMain::togglePoll(PollKind kind)
{
    const bool current = kind == PollKind::Current;
    std::atomic<bool>& flag = current ? m_session.devCurrentData : m_session.devScreenData;
    if (flag) {
        flag = false;  // the stop: the poll's wait is woken and it ends
        m_session.link.port.interrupt();
        return;
    }
    if (m_poll)
        return;  // the stopped poll is still finishing
    flag = true;
    const auto show = [this](const RowTexts& t) { ShowResult(t); };
    PollWorker* worker = current ? static_cast<PollWorker*>(new TExchangeCurrentData(m_session, this, show))
                                 : new TExchangeScreenData(m_session, this, show);
    setState(current ? AppState::CurrentDataPolling : AppState::ScreenDataPolling);
    captionExtraColumns("Текущий час запроса", "Счетчик опросов датчика");
    m_poll = worker;
    startWorker(worker, [this, worker] { pollEnded(*worker); });
}

void TfrmMain::pollEnded(const PollWorker& worker)
{
    m_poll = nullptr;
    if (m_state == AppState::CurrentDataPolling || m_state == AppState::ScreenDataPolling)
        setState(AppState::ConnectedIdle);
    if (worker.noAnswer() && !m_closeWhenIdle)
        showMessage(this, {std::string(text::kNoAnswer), std::string(caption::kError)});
}

ResultTableModel::Row TfrmMain::tableRow(const RowTexts& texts, std::size_t captionLimit) const
{
    ResultTableModel::Row row;
    row.caption = QString::fromStdString(texts[0]);
    if (isDataRowCaption(texts[0], captionLimit)) {
        for (int c = 1; c < m_table->columnCount(); ++c)
            row.cells << QString::fromStdString(texts[static_cast<std::size_t>(c)]);
        row.icon = dataRowIcon(texts, m_session.indexes);
    }
    return row;
}

void TfrmMain::captionExtraColumns(const QString& hour, const QString& second)
{
    // Only a Modbus link has the two extra columns; each command names them.
    if (protocolOf(m_session.devProtocol) != Protocol::Modbus)
        return;
    const int columns = m_table->columnCount();
    m_table->setColumnCaption(columns - 2, hour);
    m_table->setColumnCaption(columns - 1, second);
}

void TfrmMain::ShowResult(const RowTexts& texts)
{
    ResultTableModel::Row row = tableRow(texts, kPollCaptionLimit);
    growColumnsFor(row);
    m_table->clearRows();
    m_table->appendRow(std::move(row));
}

void TfrmMain::growColumnsFor(const ResultTableModel::Row& row)
{
    // Columns grow to show each new row's texts whole; they never shrink
    // under the operator's hands. Measuring one row keeps long archives fast.
    constexpr int kTextMargin = 12;
    constexpr int kIconRoom = 24;
    const QFontMetrics metrics(m_view->font());
    auto grow = [&](int column, const QString& text, int extra) {
        const int needed = metrics.horizontalAdvance(text) + kTextMargin + extra;
        if (m_view->columnWidth(column) < needed)
            m_view->setColumnWidth(column, needed);
    };
    grow(0, row.caption, kIconRoom);
    for (int c = 0; c < row.cells.size() && c + 1 < m_table->columnCount(); ++c)
        grow(c + 1, row.cells[c], 0);
}

void TfrmMain::ReadArchiveData()
{
    if (m_session.devData) {
        // The stop: the worker ends after its current exchange, which the
        // wake cuts short; the commands return when it has.
        m_session.devData = false;
        m_session.link.port.interrupt();
        m_archiveStopped = true;
        m_progress->setValue(100);
        return;
    }
    if (m_archive)
        return;  // the stopped read is still finishing
    TfrmArchive dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setState(AppState::ArchiveRunning);
    captionExtraColumns("Час архива", "Дата архива");
    m_progress->setValue(0);
    m_archiveStopped = false;
    const ArchiveWalk walk = startArchiveWalk(dialog.type(), dialog.beginDate(), dialog.endDate(), dialog.beginHour(), dialog.endHour());
    m_session.devTypeTime = static_cast<std::uint8_t>(walk.type);
    m_session.DevStruct.TypeReport = m_session.devTypeTime;
    m_session.devData = true;
    m_table->clearRows();
    auto* worker = new TExchangeArchiveData(m_session, walk, this,
                                            [this](const RowTexts& t, int percent) { AddArchiveRow(t, percent); });
    m_archive = worker;
    startWorker(worker, [this, worker] {
        m_archive = nullptr;
        if (m_state == AppState::ArchiveRunning)
            setState(AppState::ConnectedIdle);
        if (worker->portLost() && !m_closeWhenIdle)
            showMessage(this, {std::string(text::kNoAnswer), std::string(caption::kError)});
    });
}

void TfrmMain::AddArchiveRow(const RowTexts& texts, int progressPercent)
{
    ResultTableModel::Row row = tableRow(texts, kArchiveCaptionLimit);
    growColumnsFor(row);
    m_table->appendRow(std::move(row));
    if (!m_archiveStopped)
        m_progress->setValue(progressPercent);
    m_view->scrollToBottom();
}

void TfrmMain::ReadDateTime()
{
    if (m_clockReading)
        return;
    m_clockReading = true;
    auto* worker = new TExchangeDateTime(m_session, this);
    startWorker(worker, [this, worker] { clockReadEnded(*worker); });
}

void TfrmMain::clockReadEnded(const TExchangeDateTime& worker)
{
    const DeviceClock clock = worker.clock();
    const ReceiveResult received = worker.received();
    if (m_state == AppState::NotConnected || m_closeWhenIdle || received == ReceiveResult::Interrupted) {
        m_clockReading = false;
        return;
    }
    if (received == ReceiveResult::NoAnswer) {
        m_clockReading = false;
        showMessage(this, {std::string(text::kNoAnswer), std::string(caption::kError)});
        return;
    }
    if (worker.garbled()) {
        m_clockReading = false;
        showMessage(this, {std::string(text::kCrcError), std::string(caption::kAttention)});
        return;
    }
    if (clock.date)
        m_session.devDate = toTDateTime(*clock.date);
    if (!clock.date || !clock.time) {
        m_clockReading = false;
        showMessage(this, {"Прибор передал неверные дату или время.", std::string(caption::kAttention)});
        return;
    }
    m_session.devTime = toTDateTime(*clock.time);
    // The read ends when the dialog has closed; the worker is done already,
    // so the set-clock frame can have the link.
    TfrmDateTime dialog(m_session, QDate(clock.date->year, clock.date->month, clock.date->day),
                        QTime(clock.time->hour, clock.time->minute, clock.time->second), this);
    dialog.exec();
    m_clockReading = false;
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
    // The port is closed once every worker has let go of it; none waits
    // out a time-out, as stopping wakes their waits.
    m_cancelConnect = m_state == AppState::Connecting;
    stopExchanges();
    if (m_workers.empty())
        ClosePort(m_session);
    else
        m_closePortWhenIdle = true;
    m_session.devType = TOrvanDevice::none;
    m_fieldsKnown = false;
    setState(AppState::NotConnected);
    showNotConnected();
    m_progress->setValue(0);
}

void TfrmMain::NSaveAsClick()
{
    const QString chosen = chooseFile(this, FileDialogKind::SaveDataFile);
    if (chosen.isEmpty())
        return;
    const auto name = dataFileName(chosen.toStdString());
    if (const auto* refused = std::get_if<UserMessage>(&name)) {
        showMessage(this, *refused);
        return;
    }
    const SaveContext context{m_session.DevStruct, m_session.FieldsList.Count, m_session.devTypeEnergy,
                              decimalSeparator().toStdString()};
    if (const auto failed = saveDataFile(std::get<std::filesystem::path>(name), tableSnapshot(), context))
        showMessage(this, *failed);
}

TableSnapshot TfrmMain::tableSnapshot() const
{
    TableSnapshot table;
    for (const QString& title : m_table->columnCaptions())
        table.columnTitles.push_back(title.toStdString());
    for (const ResultTableModel::Row& row : m_table->rows()) {
        std::vector<std::string> texts = {row.caption.toStdString()};
        for (const QString& cell : row.cells)
            texts.push_back(cell.toStdString());
        table.rows.push_back(std::move(texts));
    }
    return table;
}

void TfrmMain::NConfigFieldsClick()
{
    TfrmFields dialog(m_session, this);
    dialog.exec();
}

void TfrmMain::NcsvClick()
{
    const QString chosen = chooseFile(this, FileDialogKind::SaveCsvFile);
    if (chosen.isEmpty() || m_table->rowCount() == 0)
        return;
    const auto name = exportFileName(chosen.toStdString(), ".csv");
    if (const auto* refused = std::get_if<UserMessage>(&name)) {
        showMessage(this, *refused);
        return;
    }
    const std::string csv = formatCsv(tableSnapshot(), m_session.FieldsList, m_session.DevStruct.DeviceName,
                                      m_session.DevStruct.DeviceNumber);
    if (const auto failed = writeCsvFile(std::get<std::filesystem::path>(name), csv))
        showMessage(this, *failed);
}

void TfrmMain::NExcelClick()
{
    exportSheet(SpreadsheetKind::Excel);
}

void TfrmMain::NCalcClick()
{
    exportSheet(SpreadsheetKind::Calc);
}

void TfrmMain::exportSheet(SpreadsheetKind kind)
{
    if (m_table->rowCount() == 0)
        return;
    const TableSnapshot table = tableSnapshot();
    exportSpreadsheet(this, kind,
                      SheetSource{table, m_session.FieldsList, m_session.DevStruct.DeviceName, m_session.DevStruct.DeviceNumber,
                                  m_session.indexes.ModeTimeIndex, decimalSeparator().toStdString()});
}

void TfrmMain::NOpenClick()
{
    if (m_session.link.port.isOpen() || !m_workers.empty()) {
        showMessage(this, {"Подключен прибор. Перед открытием файла требуется разорвать связь.", "Предупреждение"});
        return;
    }
    m_table->clearAll();
    showNotConnected();
    m_session.indexes = SpecialFieldIndexes{};
    const QString chosen = chooseFile(this, FileDialogKind::OpenDataFile);
    if (chosen.isEmpty())
        return;

    OpenedDataFile opened = openDataFile(chosen.toStdString(), m_session.devTypeEnergy, decimalSeparator().toStdString());
    m_session.DevStruct = opened.description;
    m_session.indexes = opened.indexes;
    m_session.devType = opened.devType;
    m_header->setText(QString::fromStdString(opened.headerText));
    QStringList titles;
    for (const std::string& title : opened.table.columnTitles)
        titles << QString::fromStdString(title);
    m_table->setColumns(titles);
    for (int c = 0; c < titles.size(); ++c)
        m_view->setColumnWidth(c, kColumnWidth);
    std::vector<ResultTableModel::Row> rows = modelRows(opened.table, opened.icons);
    for (std::size_t r = 0; r < rows.size() && r < 50; ++r)
        growColumnsFor(rows[r]);
    m_table->appendRows(std::move(rows));
    m_view->horizontalHeader()->show();
    m_session.FieldsList = FillFieldList(opened.table.columnTitles);
    m_fieldsKnown = true;
    applyCommandStates();
    if (opened.problem)
        showMessage(this, *opened.problem);
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

void TfrmMain::btnMCUParamClick()
{
    TfrmPassword dialog(m_session, this);
    dialog.exec();
    applyCommandStates();
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
    // Last, as the editor holds this tick until it closes.
    if (m_session.Pass == 1) {
        m_session.Pass = 0;
        applyCommandStates();
        TfrmMCUParam editor(m_session, this);
        editor.exec();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!m_workers.empty()) {
        // Exit waits for the workers to let go of the port, without blocking
        // the window: the close is given again when the last has ended.
        m_closeWhenIdle = true;
        stopExchanges();
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
    if (!writeSettingsFile(currentSettings(m_session))) {
        // The program still ends, but the operator learns that the settings
        // will not be there next time, and where they could not go.
        std::error_code error;
        std::filesystem::path file = std::filesystem::absolute(kSettingsFileName, error);
        if (error)
            file = kSettingsFileName;
        showMessage(this, fileNotWritten(file));
    }
}

}  // namespace orvanic::gui
