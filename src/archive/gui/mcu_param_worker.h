#pragma once

#include <QString>
#include <QThread>

#include "app/messages.h"
#include "app/session.h"
#include "archive/parameter_read.h"
#include "archive/parameter_write.h"

namespace orvanic::gui {

// Reads the device parameters off the window's thread: one exchange under
// the link lock. The window takes the result once the thread has finished.
class TReadMCUDat : public QThread {
    Q_OBJECT
public:
    explicit TReadMCUDat(Session& session, QObject* parent = nullptr);

    const ParameterReadResult& result() const { return m_result; }

protected:
    void run() override;

private:
    Session& m_session;
    ParameterReadResult m_result;
};

// Turns the grids' value texts (taken on the window's thread) into the
// numbers to write. The device's parameter catalogue is not known yet, so
// there is no register to send them to: the worker ends with what the
// operator is told, a text that is no number or that nothing was written.
class TWriteMCUDat : public QThread {
    Q_OBJECT
public:
    TWriteMCUDat(ParameterTexts texts, QString decimalSeparator, QObject* parent = nullptr);

    const UserMessage& message() const { return m_message; }

protected:
    void run() override;

private:
    ParameterTexts m_texts;
    QString m_decimalSeparator;
    UserMessage m_message;
};

}  // namespace orvanic::gui
