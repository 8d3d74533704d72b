#include "acquire/gui/date_time_worker.h"

#include <QDate>

namespace orvanic::gui {

TExchangeDateTime::TExchangeDateTime(Session& session, QObject* parent)
    : QThread(parent)
    , m_session(session)
{
}

void TExchangeDateTime::run()
{
    const Protocol protocol = protocolOf(m_session.devProtocol);
    const auto exchange = m_session.link.lockExchange();
    OpenLogFile(m_session);
    m_session.link.send(clockReadRequest(protocol, m_session.devAddress));
    m_received = m_session.link.ReceiveFrame(ReceiveLimits{}, m_session.devVelocityInt, clockReadAnswer(protocol));
    if (m_received == ReceiveResult::Received) {
        m_garbled = !clockAnswerIntact(protocol, m_session.link.answer());
        if (!m_garbled)
            m_clock = decodeClockAnswer(protocol, m_session.link.answer(), QDate::currentDate().year());
    }
    CloseLogFile(m_session);
}

SetDateTimeWorker::SetDateTimeWorker(Session& session, const CalendarDate& date, const TimeOfDay& time, QObject* parent)
    : QThread(parent)
    , m_session(session)
    , m_date(date)
    , m_time(time)
{
}

void SetDateTimeWorker::run()
{
    const Protocol protocol = protocolOf(m_session.devProtocol);
    const auto exchange = m_session.link.lockExchange();
    OpenLogFile(m_session);
    m_session.link.send(setClockRequest(protocol, m_session.devAddress, m_date, m_time));
    // The log keeps only the sent record of this command.
    CloseLogFile(m_session);
    // A device that does not confirm is not waited for long.
    m_session.link.ReceiveFrame(ReceiveLimits{0, 19200}, m_session.devVelocityInt, setClockAnswer(protocol));
}

}  // namespace orvanic::gui
