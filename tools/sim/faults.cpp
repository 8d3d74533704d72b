#include "faults.h"

#include <algorithm>

namespace orvanic::sim {

namespace {

constexpr std::uint8_t kOversizeFill = 0xAA;

// Line noise: the same bytes on every run, so a failing test can be replayed.
Bytes junk(std::size_t count)
{
    Bytes bytes;
    bytes.reserve(count);
    std::uint32_t state = 0x2545F491;
    for (std::size_t i = 0; i < count; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes.push_back(static_cast<std::uint8_t>(state >> 24));
    }
    return bytes;
}

}  // namespace

void FaultKinds::merge(const FaultKinds& other)
{
    silent = silent || other.silent;
    badCrc = badCrc || other.badCrc;
    noData = noData || other.noData;
    cutHalf = cutHalf || other.cutHalf;
    if (other.cutLength)
        cutLength = std::min(cutLength.value_or(*other.cutLength), *other.cutLength);
    delay = std::max(delay, other.delay);
    if (other.pieces > pieces) {
        pieces = other.pieces;
        pieceGap = other.pieceGap;
    }
    oversize = std::max(oversize, other.oversize);
    garbage = std::max(garbage, other.garbage);
    vanish = vanish || other.vanish;
    if (other.answerAddress)
        answerAddress = other.answerAddress;
}

FaultPlan::FaultPlan(std::vector<FaultRule> rules)
    : m_rules(std::move(rules))
    , m_periodHits(m_rules.size(), 0)
{
}

FaultKinds FaultPlan::faultsFor(std::uint64_t requestNumber, const std::optional<ArchivePeriod>& period)
{
    FaultKinds kinds;
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        const FaultWhen& when = m_rules[i].when;
        bool hits = false;
        switch (when.kind) {
        case FaultWhen::Kind::EveryRequest:
            hits = true;
            break;
        case FaultWhen::Kind::RequestNumber:
            hits = when.requestNumber == requestNumber;
            break;
        case FaultWhen::Kind::EveryNth:
            hits = requestNumber % when.requestNumber == 0;
            break;
        case FaultWhen::Kind::Period:
            if (period && *period == when.period) {
                hits = !when.times || m_periodHits[i] < *when.times;
                ++m_periodHits[i];
            }
            break;
        }
        if (hits)
            kinds.merge(m_rules[i].kinds);
    }
    return kinds;
}

Bytes spoilAnswer(Bytes answer, const FaultKinds& kinds)
{
    if (kinds.badCrc && !answer.empty())
        answer.back() = static_cast<std::uint8_t>(answer.back() ^ 0xFF);
    std::size_t keep = answer.size();
    if (kinds.cutHalf || (kinds.vanish && !kinds.cutLength))
        keep = std::min(keep, answer.size() / 2);
    if (kinds.cutLength)
        keep = std::min(keep, *kinds.cutLength);
    answer.resize(keep);
    answer.insert(answer.end(), kinds.oversize, kOversizeFill);
    const Bytes noise = junk(kinds.garbage);
    answer.insert(answer.begin(), noise.begin(), noise.end());
    return answer;
}

}  // namespace orvanic::sim
