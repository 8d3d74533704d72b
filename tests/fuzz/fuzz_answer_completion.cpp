// The receive loop's judge of whether the bytes so far are a whole answer.
//
//   byte 0    bits 0-1: the answer expected (none known, own frame, own
//             frame with doubled 0x10, Modbus); bit 2: repair the checksum
//   byte 1    the own frame's least length, or the Modbus function
//   the rest  the bytes received so far

#include "fuzz_check.h"
#include "fuzz_device.h"
#include "link/answer_completion.h"
#include "link/modbus.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    ExpectedAnswer expected;
    switch (data[0] & 3) {
    case 0: break;
    case 1: expected = ExpectedAnswer::own(data[1]); break;
    case 2: expected = ExpectedAnswer::ownDoubled(data[1]); break;
    default: expected = ExpectedAnswer::modbus(data[1]); break;
    }
    std::vector<std::uint8_t> bytes(data + 2, data + size);
    if (data[0] & 4) {
        if (expected.kind == ExpectedAnswer::Kind::ModbusFrame)
            fuzz::repairModbusChecksum(bytes);
        else
            fuzz::repairOwnChecksum(bytes, expected.kind == ExpectedAnswer::Kind::OwnDoubledFrame);
    }
    if (!isAnswerComplete(expected, bytes))
        return 0;
    // Ending the answer early is only right when its decoder will find the
    // checksum good; otherwise a slow device's answer would be cut short.
    FUZZ_CHECK(expected.kind != ExpectedAnswer::Kind::Unknown);  // ends on silence only
    switch (expected.kind) {
    case ExpectedAnswer::Kind::Unknown: break;
    case ExpectedAnswer::Kind::OwnFrame: FUZZ_CHECK(own::checksumMatches(bytes)); break;
    case ExpectedAnswer::Kind::OwnDoubledFrame: FUZZ_CHECK(own::checksumMatches(own::undoubleDle(bytes))); break;
    case ExpectedAnswer::Kind::ModbusFrame: FUZZ_CHECK(modbus::checksumMatches(bytes)); break;
    }
    return 0;
}
