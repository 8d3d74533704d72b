// Identification answers of both protocols: the envelope check, the text
// out of the frame, and the description from the text.
//
//   byte 0    bit 0 Modbus, else the own protocol; bit 1 energy in Гкал;
//             bit 2 repair the checksum so the answer passes its check
//   the rest  the answer

#include "fuzz_device.h"
#include "self_description_check.h"

using namespace orvanic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool modbus = (data[0] & 1) != 0;
    const Protocol protocol = modbus ? Protocol::Modbus : Protocol::Own;
    const std::uint8_t energy = (data[0] & 2) ? 1 : 0;
    std::vector<std::uint8_t> answer(data + 1, data + size);
    if (data[0] & 4) {
        if (modbus)
            fuzz::repairModbusChecksum(answer);
        else
            fuzz::repairOwnChecksum(answer, false);
    }
    if (checkIdentificationAnswer(protocol, answer) != AnswerCheck::Good)
        return 0;
    const std::string text = descriptionBytes(protocol, answer);
    FUZZ_CHECK(text.size() <= answer.size());
    const SelfDescription d = parseSelfDescription(text, energy);
    fuzz::checkDescription(d);
    fuzz::takeIntoSession(d, modbus ? 1 : 0);
    return 0;
}
