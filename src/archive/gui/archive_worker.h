#pragma once

#include <QThread>
#include <functional>

#include "acquire/record_decoder.h"
#include "app/session.h"
#include "archive/archive_walk.h"

namespace orvanic::gui {

// Walks the archive range, one exchange a period, while devData is set.
// Every exchange gives one row, handed to the window's thread (with the
// progress) by a blocking call.
class TExchangeArchiveData : public QThread {
    Q_OBJECT
public:
    using AddArchiveRow = std::function<void(const RowTexts& texts, int progressPercent)>;

    TExchangeArchiveData(Session& session, const ArchiveWalk& walk, QObject* gui, AddArchiveRow addRow);

    // The read ended early because the port has gone.
    bool portLost() const { return m_portLost; }

protected:
    void run() override;

private:
    Session& m_session;
    ArchiveWalk m_walk;
    QObject* m_gui;
    AddArchiveRow m_addRow;
    RowTexts m_sFields{};
    bool m_portLost = false;
};

}  // namespace orvanic::gui
