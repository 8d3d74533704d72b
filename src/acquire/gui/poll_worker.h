#pragma once

#include <QThread>
#include <atomic>
#include <functional>

#include "acquire/poll_exchange.h"
#include "app/session.h"

namespace orvanic::gui {

// Polls the device again and again while its flag is set, handing each
// row to the window's thread and waiting until it is shown. Between an
// answer and the next request it waits the poll interval.
class PollWorker : public QThread {
    Q_OBJECT
public:
    using ShowResult = std::function<void(const RowTexts&)>;

    bool noAnswer() const { return m_noAnswer; }

protected:
    PollWorker(Session& session, PollKind kind, std::atomic<bool>& flag, QObject* gui, ShowResult show);
    void run() override;

private:
    Session& m_session;
    PollKind m_kind;
    std::atomic<bool>& m_flag;
    QObject* m_gui;
    ShowResult m_show;
    RowTexts m_sFields{};
    bool m_noAnswer = false;
};

class TExchangeCurrentData : public PollWorker {
    Q_OBJECT
public:
    TExchangeCurrentData(Session& session, QObject* gui, ShowResult show)
        : PollWorker(session, PollKind::Current, session.devCurrentData, gui, std::move(show))
    {
    }
};

class TExchangeScreenData : public PollWorker {
    Q_OBJECT
public:
    TExchangeScreenData(Session& session, QObject* gui, ShowResult show)
        : PollWorker(session, PollKind::Screen, session.devScreenData, gui, std::move(show))
    {
    }
};

}  // namespace orvanic::gui
