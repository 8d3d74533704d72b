// The parameter editor's read answer (Modbus, whatever the protocol setting).
//
//   byte 0    the address asked
//   byte 1    the field count, which sets the registers asked for
//   byte 2    bit 0: repair the checksum so the answer passes its check
//   the rest  the answer

#include "archive/parameter_read.h"
#include "fuzz_check.h"
#include "fuzz_device.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t address = data[0];
    const std::uint8_t registers = parameterRegisterCount(data[1]);
    std::vector<std::uint8_t> answer(data + 3, data + size);
    if (data[2] & 1)
        fuzz::repairModbusChecksum(answer);
    const ParameterReadCheck check = checkParameterReadAnswer(answer, address, registers);
    if (check.outcome != ParameterReadOutcome::Good) {
        FUZZ_CHECK(check.registers.empty());
        return 0;
    }
    // Exactly the registers asked for, inside the answer.
    FUZZ_CHECK(check.registers.size() == 2u * registers);
    FUZZ_CHECK(check.registers.data() >= answer.data()
               && check.registers.data() + check.registers.size() <= answer.data() + answer.size());
    ParameterReadResult result;
    result.outcome = check.outcome;
    result.pages = decodeParameterPages(check.registers);
    FUZZ_CHECK(!parameterReadMessage(result));
    return 0;
}
