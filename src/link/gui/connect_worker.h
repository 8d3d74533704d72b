#pragma once

#include <QThread>

#include "app/connect_device.h"

namespace orvanic::gui {

// Runs the device identification off the window's thread, so a silent
// device never freezes the window. The outcome is read after `finished`.
class ConnectWorker : public QThread {
    Q_OBJECT
public:
    explicit ConnectWorker(Session& session, QObject* parent = nullptr);
    const ConnectOutcome& outcome() const { return m_outcome; }

protected:
    void run() override;

private:
    Session& m_session;
    ConnectOutcome m_outcome;
};

}  // namespace orvanic::gui
