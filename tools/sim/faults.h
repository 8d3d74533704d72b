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

    void merge(const FaultKinds& other);
};

// Which requests a fault hits.
struct FaultWhen {
    enum class Kind { RequestNumber, EveryRequest, Period };
    Kind kind = Kind::EveryRequest;
    std::uint64_t requestNumber = 0;
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

// Spoils a finished answer frame: checksum, length, trailing junk. Timing
// faults are left to the writer.
Bytes spoilAnswer(Bytes answer, const FaultKinds& kinds);

}  // namespace orvanic::sim
