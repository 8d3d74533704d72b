#pragma once

#include "bytes.h"
#include "record_values.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvanic::sim {

// What a fault does to an answer. Several faults on one request merge.
struct FaultKinds {
    bool silent = false;
    bool badCrc = false;
    bool noData = false;
    bool cutHalf = false;                  // "short": keep half the answer
    std::optional<std::size_t> cutLength;  // "short=N": keep N bytes
    std::chrono::milliseconds delay{0};
    int pieces = 1;
    std::chrono::milliseconds pieceGap{0};
    std::size_t oversize = 0;
    std::size_t garbage = 0;                   // junk bytes sent before the answer
    bool vanish = false;                       // the device goes away part-way through the answer
    std::optional<std::uint8_t> answerAddress;  // answers as this address instead

    void merge(const FaultKinds& other);
};

// Which requests a fault hits.
struct FaultWhen {
    enum class Kind { RequestNumber, EveryRequest, EveryNth, Period };
    Kind kind = Kind::EveryRequest;
    std::uint64_t requestNumber = 0;  // RequestNumber: that one; EveryNth: its multiples
    ArchivePeriod period;
    std::optional<std::uint64_t> times;  // Period only: just the first K of them
};

struct FaultRule {
    FaultWhen when;
    FaultKinds kinds;
};

// Decides which faults hit each request, remembering how often a period
// fault has struck already.
class FaultPlan {
public:
    explicit FaultPlan(std::vector<FaultRule> rules);

    // `requestNumber` counts from 1; `period` is set for archive reads.
    FaultKinds faultsFor(std::uint64_t requestNumber, const std::optional<ArchivePeriod>& period);

private:
    std::vector<FaultRule> m_rules;
    std::vector<std::uint64_t> m_periodHits;  // per rule
};

// Spoils a finished answer frame: checksum, length, junk before or after it;
// a vanishing device gets only half of it unless a length is given. Timing
// faults are left to the writer.
Bytes spoilAnswer(Bytes answer, const FaultKinds& kinds);

}  // namespace orvanic::sim
