#include "link/gui/connect_worker.h"

namespace orvanic::gui {

ConnectWorker::ConnectWorker(Session& session, QObject* parent)
    : QThread(parent)
    , m_session(session)
{
}

void ConnectWorker::run()
{
    m_outcome = identifyDevice(m_session);
}

}  // namespace orvanic::gui
