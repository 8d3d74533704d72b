// Undoing the doubled 0x10 bytes of an own-protocol archive answer.
//
// The input is taken two ways: as an answer off the line, which must be
// reduced without reading outside it; and as what a device meant to send
// (head, payload, tail), which doubled and undone again must come back
// byte for byte.

#include "fuzz_check.h"
#include "link/own_protocol.h"

using namespace orvanic;

namespace {

// As the device sends it: every 0x10 between the two-byte head and the
// four-byte tail sent twice.
std::vector<std::uint8_t> doubled(const std::vector<std::uint8_t>& single)
{
    std::vector<std::uint8_t> line(single.begin(), single.begin() + 2);
    for (std::size_t i = 2; i + 4 < single.size(); ++i) {
        line.push_back(single[i]);
        if (single[i] == own::kDle)
            line.push_back(own::kDle);
    }
    line.insert(line.end(), single.end() - 4, single.end());
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> line(data, data + size);
    const std::vector<std::uint8_t> undone = own::undoubleDle(line);
    FUZZ_CHECK(undone.size() <= line.size());

    if (size < 6)
        return 0;
    std::vector<std::uint8_t> single(data, data + size);
    single[0] = own::kDle;
    single[1] = own::kSoh;
    single[size - 4] = own::kDle;
    single[size - 3] = own::kEtx;
    FUZZ_CHECK(own::undoubleDle(doubled(single)) == single);
    return 0;
}
