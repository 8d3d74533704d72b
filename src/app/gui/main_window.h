#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

#include "acquire/poll_exchange.h"
#include "acquire/record_decoder.h"
#include "app/command_states.h"
#include "app/gui/header_panel.h"
#include "app/gui/result_table_model.h"
#include "app/session.h"
#include "files/table_snapshot.h"

class QAction;
class QLabel;
class QProgressBar;
class QTableView;
class QTimer;
class QToolBar;

namespace orvanic::gui {

enum class SpreadsheetKind;

class ConnectWorker;
class PollWorker;

// The program's one window: it owns the session, the commands and their
// states, the header panel and the result table.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    Session& session() { return m_session; }
    AppState state() const { return m_state; }
    ResultTableModel& table() { return *m_table; }
    HeaderPanel& header() { return *m_header; }
    QStringList& PortNames() { return m_portNames; }

    void ConnectFrm();
    void DisConnect();
    void Parametr();
    void ReadCurrentData();
    void ReadScreenData();
    void ReadDateTime();
    void ReadArchiveData();
    void NSaveAsClick();
    void NOpenClick();
    void NcsvClick();
    void NExcelClick();
    void NCalcClick();
    void NConfigFieldsClick();
    void btnMCUParamClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void ProgramExit();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    QAction* command(const QString& name, const QString& text, void (TfrmMain::*handler)());

    void Connect();
    void connectFinished(const ConnectWorker& worker);
    // Every exchange worker starts here; `ended` runs on the window's thread
    // once it has finished, before the window looks at what waits for idle.
    void startWorker(QThread* worker, std::function<void()> ended);
    void afterWorkerEnded();
    void stopExchanges();
    void togglePoll(PollKind kind);
    void captionExtraColumns(const QString& hour, const QString& second);
    void showNotConnected();
    TableSnapshot tableSnapshot() const;
    void exportSheet(SpreadsheetKind kind);
    ResultTableModel::Row tableRow(const RowTexts& texts, std::size_t captionLimit) const;
    void pollEnded(const PollWorker& worker);
    void ShowResult(const RowTexts& texts);
    void clockReadEnded(const class TExchangeDateTime& worker);
    void AddArchiveRow(const RowTexts& texts, int progressPercent);
    void growColumnsFor(const ResultTableModel::Row& row);
    void setState(AppState state);
    void applyCommandStates();
    void VisualStyleClick(int tag);
    void NHelpClick();
    void tmrMainTimer();
    void showConnectedColumns();

    Session m_session;
    AppState m_state = AppState::NotConnected;
    bool m_fieldsKnown = false;
    QStringList m_portNames;

    HeaderPanel* m_header;
    ResultTableModel* m_table;
    QTableView* m_view;
    QToolBar* m_toolBar = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_caps = nullptr;
    QLabel* m_num = nullptr;
    QLabel* m_scroll = nullptr;
    QTimer* m_timer;
    std::vector<QAction*> m_styleItems;  // tags 1 to 5
    std::map<QString, QAction*> m_actions;  // by object name: "NConnect", "btnConnect", ...

    std::vector<QThread*> m_workers;
    PollWorker* m_poll = nullptr;
    QThread* m_archive = nullptr;
    bool m_archiveStopped = false;  // the progress then stays at 100 %
    bool m_clockReading = false;  // from the clock read until its dialog closes
    bool m_cancelConnect = false;
    bool m_closePortWhenIdle = false;
    bool m_closeWhenIdle = false;
};

}  // namespace orvanic::gui
