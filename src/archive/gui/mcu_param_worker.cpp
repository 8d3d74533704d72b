#include "archive/gui/mcu_param_worker.h"

#include <variant>

#include "app/gui/thread_handover.h"

namespace orvanic::gui {

TReadMCUDat::TReadMCUDat(Session& session, QObject* parent)
    : QThread(parent)
    , m_session(session)
{
}

void TReadMCUDat::run()
{
    m_result = readParameters(m_session);
    handOver(this);
}

TWriteMCUDat::TWriteMCUDat(ParameterTexts texts, QString decimalSeparator, QObject* parent)
    : QThread(parent)
    , m_texts(std::move(texts))
    , m_decimalSeparator(std::move(decimalSeparator))
{
}

void TWriteMCUDat::run()
{
    const auto converted = convertParameterTexts(m_texts, m_decimalSeparator.toStdString());
    if (const auto* bad = std::get_if<BadParameterText>(&converted))
        m_message = badParameterTextMessage(*bad);
    else
        m_message = nothingToWriteMessage();
    handOver(this);
}

}  // namespace orvanic::gui
