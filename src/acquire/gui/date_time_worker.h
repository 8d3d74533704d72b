#pragma once

#include <QThread>

#include "acquire/device_clock.h"
#include "app/session.h"
#include "link/link.h"

namespace orvanic::gui {

// Reads the device clock off the window's thread.
class TExchangeDateTime : public QThread {
    Q_OBJECT
public:
    explicit TExchangeDateTime(Session& session, QObject* parent = nullptr);

    ReceiveResult received() const { return m_received; }
    // Received, but garbled: no clock is taken from it.
    bool garbled() const { return m_garbled; }
    const DeviceClock& clock() const { return m_clock; }

protected:
    void run() override;

private:
    Session& m_session;
    ReceiveResult m_received = ReceiveResult::NoAnswer;
    bool m_garbled = false;
    DeviceClock m_clock;
};

// Sends the set-clock frame as an exchange of its own, then takes whatever
// the device answers off the line so it never reaches the next exchange.
class SetDateTimeWorker : public QThread {
    Q_OBJECT
public:
    SetDateTimeWorker(Session& session, const CalendarDate& date, const TimeOfDay& time, QObject* parent = nullptr);

protected:
    void run() override;

private:
    Session& m_session;
    CalendarDate m_date;
    TimeOfDay m_time;
};

}  // namespace orvanic::gui
