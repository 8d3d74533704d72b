#include "archive/gui/mcu_param_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "acquire/gui/regional_format.h"
#include "app/gui/message_box.h"
#include "app/gui/thread_handover.h"
#include "app/session.h"
#include "archive/gui/mcu_param_worker.h"

namespace orvanic::gui {
namespace {

constexpr int kColumnWidth = 280;
// Before the first read: the header row and one empty parameter row.
constexpr int kFirstRowCount = 2;

struct PageNames {
    const char* page;
    const char* grid;
};
constexpr std::array<PageNames, kParameterPageCount> kPageNames = {{
    {"tabMain", "stgMain"}, {"tabAdditional", "stgAdditional"}, {"tabCoef", "stgCoef"}, {"tabParam", "stgParam"}}};

QString fromStd(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidget* newGrid(const char* name)
{
    auto* grid = new QTableWidget(kFirstRowCount - 1, 2);
    grid->setObjectName(name);
    grid->setHorizontalHeaderItem(0, new QTableWidgetItem);
    grid->setHorizontalHeaderItem(1, new QTableWidgetItem);
    grid->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->verticalHeader()->hide();
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    return grid;
}

// The first column is fixed: the parameter names, shaded like the header
// and not for editing.
QTableWidgetItem* nameItem(const QTableWidget& grid)
{
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(grid.palette().button());
    return item;
}

void setParameterRows(QTableWidget& grid, int parameters)
{
    grid.setRowCount(parameters);
    for (int row = 0; row < parameters; ++row) {
        grid.setItem(row, 0, nameItem(grid));
        grid.setItem(row, 1, new QTableWidgetItem);
    }
}

}  // namespace

TfrmMCUParam::TfrmMCUParam(Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_pages(new QTabWidget)
{
    setObjectName("frmMCUParam");
    setWindowTitle("Редактирование параметров МВУ");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    m_pages->setObjectName("pgcMCUParam");
    for (std::size_t i = 0; i < kParameterPageCount; ++i) {
        auto* page = new QWidget;
        page->setObjectName(kPageNames[i].page);
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        m_grids[i] = newGrid(kPageNames[i].grid);
        setParameterRows(*m_grids[i], kFirstRowCount - 1);
        pageLayout->addWidget(m_grids[i]);
        m_pages->addTab(page, fromStd(kParameterPageCaptions[i]));
    }

    auto* read = new QPushButton("Считать");
    read->setObjectName("btnMCURead");
    auto* write = new QPushButton("Записать");
    write->setObjectName("btnMCUWrite");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(read);
    buttons->addWidget(write);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 8);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    setFixedSize(592, 391);

    connect(read, &QPushButton::clicked, this, &TfrmMCUParam::btnMCUReadClick);
    connect(write, &QPushButton::clicked, this, &TfrmMCUParam::btnMCUWriteClick);
}

TfrmMCUParam::~TfrmMCUParam()
{
    // Only reached with a worker running when the window is destroyed
    // without closing. The workers never wait for this thread, so waiting
    // for one here cannot lock up; the wake makes it short.
    if (m_worker) {
        m_session.link.port.interrupt();
        m_worker->wait();
        takeOver(m_worker);
        m_session.link.port.resume();
    }
}

void TfrmMCUParam::done(int result)
{
    if (m_worker) {
        // A read must not outlive the window; it is woken, and the window
        // closes when it has ended.
        m_closeWith = result;
        m_session.link.port.interrupt();
        return;
    }
    QDialog::done(result);
}

void TfrmMCUParam::startWorker(QThread* worker, std::function<void()> ended)
{
    m_worker = worker;
    connect(worker, &QThread::finished, this, [this, worker, ended] {
        m_worker = nullptr;
        // Let the thread itself end before its object goes.
        worker->wait();
        takeOver(worker);
        worker->deleteLater();
        if (m_closeWith) {
            m_session.link.port.resume();
            QDialog::done(*m_closeWith);
            return;
        }
        ended();
    });
    worker->start();
}

void TfrmMCUParam::btnMCUReadClick()
{
    if (m_worker)
        return;  // one exchange at a time
    // A stop given to an earlier exchange must not cut this one short.
    m_session.link.port.resume();
    auto* worker = new TReadMCUDat(m_session, this);
    startWorker(worker, [this, worker] {
        const ParameterReadResult& result = worker->result();
        if (result.outcome == ParameterReadOutcome::Good)
            showPages(result.pages);
        else if (const auto message = parameterReadMessage(result))
            showMessage(this, *message);
    });
}

void TfrmMCUParam::showPages(const ParameterPages& pages)
{
    for (std::size_t i = 0; i < kParameterPageCount; ++i) {
        QTableWidget& grid = *m_grids[i];
        const std::vector<std::string>& values = pages[i];
        setParameterRows(grid, static_cast<int>(values.size()));
        grid.horizontalHeaderItem(1)->setText("Значение параметра");
        for (std::size_t p = 0; p < values.size(); ++p)
            grid.item(static_cast<int>(p), 1)->setText(QString::fromStdString(values[p]));
    }
}

void TfrmMCUParam::btnMCUWriteClick()
{
    if (m_worker)
        return;
    auto* worker = new TWriteMCUDat(gridTexts(), decimalSeparator(), this);
    startWorker(worker, [this, worker] { showMessage(this, worker->message()); });
}

ParameterTexts TfrmMCUParam::gridTexts() const
{
    ParameterTexts texts;
    for (std::size_t i = 0; i < kParameterPageCount; ++i) {
        const QTableWidget& grid = *m_grids[i];
        for (int row = 0; row < grid.rowCount(); ++row) {
            const QTableWidgetItem* item = grid.item(row, 1);
            texts[i].push_back(item ? item->text().toStdString() : std::string());
        }
    }
    return texts;
}

}  // namespace orvanic::gui
