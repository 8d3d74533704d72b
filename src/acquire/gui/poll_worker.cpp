#include "acquire/gui/poll_worker.h"

#include <chrono>

#include "acquire/gui/regional_format.h"
#include "app/gui/run_on_gui.h"

namespace orvanic::gui {

PollWorker::PollWorker(Session& session, PollKind kind, std::atomic<bool>& flag, QObject* gui, ShowResult show)
    : m_session(session)
    , m_kind(kind)
    , m_flag(flag)
    , m_gui(gui)
    , m_show(std::move(show))
{
}

void PollWorker::run()
{
    const Protocol protocol = protocolOf(m_session.devProtocol);
    const std::uint8_t countFields = m_session.DevStruct.CountFields;
    while (m_flag) {
        ReceiveResult received = ReceiveResult::NoAnswer;
        {
            // The log is opened within the exchange, so exchanges of other
            // commands waiting for the link never close it under this one.
            const auto exchange = m_session.link.lockExchange();
            OpenLogFile(m_session);
            m_session.link.send(pollRequest(protocol, m_kind, m_session.devAddress, countFields));
            received = m_session.link.ReceiveFrame(ReceiveLimits{}, m_session.devVelocityInt, pollAnswer(protocol, countFields));
            if (received == ReceiveResult::Received) {
                const RecordContext context{m_session.DevStruct, m_session.devTypeEnergy, decimalSeparator().toStdString()};
                decodePollAnswer(protocol, m_session.link.answer(), context, rowCaptionNow().toStdString(), m_sFields);
            }
            CloseLogFile(m_session);
        }
        if (received == ReceiveResult::Interrupted)
            break;
        if (received == ReceiveResult::NoAnswer) {
            // The poll ends here; the window says why once it has ended.
            m_noAnswer = true;
            m_flag = false;
            break;
        }
        const RowTexts row = m_sFields;
        runOnGui(m_gui, [this, &row] { m_show(row); });
        if (!m_flag || !m_session.link.port.pause(std::chrono::seconds(m_session.TimeRequest)))
            break;
    }
}

}  // namespace orvanic::gui
