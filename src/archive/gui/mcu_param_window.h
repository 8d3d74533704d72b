#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "archive/parameter_read.h"
#include "archive/parameter_write.h"

class QPushButton;
class QTabWidget;
class QTableWidget;

namespace orvanic {
struct Session;
}

namespace orvanic::gui {

// "Редактирование параметров МВУ": four pages of parameters, each a grid of
// name and value that the operator edits in place. The grid's header row is
// the table's header, so a grid of RowCount rows has RowCount - 1 table rows,
// parameter i in table row i - 1. Reads and writes run on worker threads,
// one at a time; the window stays responsive, and closing it during a read
// wakes the read and closes once it has ended.
class TfrmMCUParam : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMCUParam(Session& session, QWidget* parent = nullptr);
    ~TfrmMCUParam() override;

    void done(int result) override;

private:
    void btnMCUReadClick();
    void btnMCUWriteClick();
    void startWorker(QThread* worker, std::function<void()> ended);
    void showPages(const ParameterPages& pages);
    ParameterTexts gridTexts() const;

    Session& m_session;
    QTabWidget* m_pages;
    std::array<QTableWidget*, kParameterPageCount> m_grids{};
    QThread* m_worker = nullptr;
    std::optional<int> m_closeWith;  // asked to close while a worker ran
};

}  // namespace orvanic::gui
