#include "archive/gui/archive_worker.h"

#include "acquire/gui/regional_format.h"
#include "archive/archive_exchange.h"
#include "app/gui/run_on_gui.h"

namespace orvanic::gui {

TExchangeArchiveData::TExchangeArchiveData(Session& session, const ArchiveWalk& walk, QObject* gui, AddArchiveRow addRow)
    : m_session(session)
    , m_walk(walk)
    , m_gui(gui)
    , m_addRow(std::move(addRow))
{
}

void TExchangeArchiveData::run()
{
    const RecordContext context{m_session.DevStruct, m_session.devTypeEnergy, decimalSeparator().toStdString()};
    while (m_session.devData) {
        const ArchivePeriodResult result = readArchivePeriod(m_session, m_walk, context, m_sFields);
        if (result.interrupted)
            break;
        const WalkStep step = afterArchiveExchange(m_walk, result.outcome == ArchiveOutcome::CrcError);
        // Without a port every further period would only add a row of
        // missing data, for as long as the range is.
        m_portLost = result.portLost;
        if (step == WalkStep::Finished || m_portLost)
            m_session.devData = false;
        const RowTexts row = m_sFields;
        const int percent = progressPercent(m_walk);
        runOnGui(m_gui, [this, &row, percent] { m_addRow(row, percent); });
    }
}

}  // namespace orvanic::gui
