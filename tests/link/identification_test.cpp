#include <gtest/gtest.h>

#include "link/answer_completion.h"
#include "link/crc.h"
#include "link/identification.h"
#include "link/modbus.h"
#include "link/own_protocol.h"

namespace orvanic {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ownAnswer(const std::string& payload)
{
    Bytes frame = {0x10, 0x01, 0x01, 0x01};
    for (char c : payload)
        frame.push_back(static_cast<std::uint8_t>(c));
    frame.push_back(0x10);
    frame.push_back(0x03);
    const std::uint16_t crc = CRC16Str(std::span(frame).subspan(2));
    frame.push_back(lowByte(crc));
    frame.push_back(highByte(crc));
    return frame;
}

TEST(Identification, Requests)
{
    EXPECT_EQ(identificationRequest(Protocol::Own, 1), (Bytes{0x10, 0x60, 0x01, 0x01, 0x10, 0x01, 0xE0, 0x10, 0x03, 0x4C, 0x37}));
    EXPECT_EQ(identificationRequest(Protocol::Modbus, 1), (Bytes{0x01, 0x11, 0xC0, 0x2C}));
    EXPECT_EQ(identificationRequest(Protocol::Own, 0)[2], 0x00);
    EXPECT_EQ(protocolOf(1), Protocol::Modbus);
    EXPECT_EQ(protocolOf(0), Protocol::Own);
}

TEST(Identification, DescriptionFromBothEnvelopes)
{
    EXPECT_EQ(descriptionBytes(Protocol::Own, ownAnswer("12|AB")), "12|AB");
    // Registers carry the first character in the low byte.
    const Bytes modbusAnswer = modbus::frame({0x01, 0x11, 0x04, '2', '1', 'A', '|'});
    EXPECT_EQ(descriptionBytes(Protocol::Modbus, modbusAnswer), "12|A");
}

TEST(Identification, ExampleOverModbusReadsAsOverTheOwnProtocol)
{
    const std::string text = std::string("1234|X-A40 1|W1|V1|T1|\x74\xE0\xA0\xA1|S|\x8E\xA1\xE0\xEB\xA2|")
        + "\x8F\xA5\xE0\xA5\xA3\xE0\xE3\xA7\xAA\xA0|";  // padded to whole registers
    std::vector<std::uint8_t> body = {0x01, 0x11, static_cast<std::uint8_t>(text.size())};
    for (std::size_t i = 0; i < text.size(); i += 2) {
        body.push_back(static_cast<std::uint8_t>(text[i + 1]));
        body.push_back(static_cast<std::uint8_t>(text[i]));
    }
    const Bytes answer = modbus::frame(body);
    ASSERT_EQ(checkIdentificationAnswer(Protocol::Modbus, answer), AnswerCheck::Good);
    EXPECT_EQ(descriptionBytes(Protocol::Modbus, answer), text);
    EXPECT_EQ(descriptionBytes(Protocol::Own, ownAnswer(text)), text);
}

TEST(Identification, AnswerChecks)
{
    Bytes good = ownAnswer("1|N|");
    EXPECT_EQ(checkIdentificationAnswer(Protocol::Own, good), AnswerCheck::Good);
    good.back() ^= 0xFF;
    EXPECT_EQ(checkIdentificationAnswer(Protocol::Own, good), AnswerCheck::BadChecksum);
    EXPECT_EQ(checkIdentificationAnswer(Protocol::Own, Bytes{0x10, 0x01, 0x10, 0x03}), AnswerCheck::TooShort);
    EXPECT_EQ(descriptionBytes(Protocol::Own, Bytes{0x10, 0x01}), "");

    Bytes modbusGood = modbus::frame({0x01, 0x11, 0x02, 'b', 'a'});
    EXPECT_EQ(checkIdentificationAnswer(Protocol::Modbus, modbusGood), AnswerCheck::Good);
    modbusGood[3] ^= 1;
    EXPECT_EQ(checkIdentificationAnswer(Protocol::Modbus, modbusGood), AnswerCheck::BadChecksum);
    EXPECT_EQ(checkIdentificationAnswer(Protocol::Modbus, Bytes{0x01, 0x11, 0xC0, 0x2C}), AnswerCheck::TooShort);
}

TEST(AnswerCompletion, OwnFrames)
{
    const Bytes whole = ownAnswer("12345678");
    const ExpectedAnswer expected = ExpectedAnswer::own(whole.size());
    for (std::size_t n = 0; n < whole.size(); ++n)
        EXPECT_FALSE(isAnswerComplete(expected, std::span(whole).first(n))) << n;
    EXPECT_TRUE(isAnswerComplete(expected, whole));

    // A payload holding 10 03 and a lucky checksum is not taken for the end
    // before the expected length.
    const Bytes tricky = ownAnswer(std::string("\x10\x03", 2));
    EXPECT_TRUE(isAnswerComplete(ExpectedAnswer::own(tricky.size()), tricky));
    EXPECT_FALSE(isAnswerComplete(ExpectedAnswer::own(tricky.size() + 4), tricky));

    const Bytes noData = ownAnswer(std::string(1, '\0'));
    ASSERT_EQ(noData.size(), 9u);
    EXPECT_TRUE(isAnswerComplete(ExpectedAnswer::own(24), noData));

    Bytes corrupt = whole;
    corrupt[5] ^= 1;
    EXPECT_FALSE(isAnswerComplete(expected, corrupt));
}

TEST(AnswerCompletion, ModbusFrames)
{
    const ExpectedAnswer read = ExpectedAnswer::modbus(modbus::kReadHoldingRegisters);
    const Bytes answer = modbus::frame({0x01, 0x03, 0x04, 0x10, 0x03, 0x00, 0x01});
    for (std::size_t n = 0; n < answer.size(); ++n)
        EXPECT_FALSE(isAnswerComplete(read, std::span(answer).first(n))) << n;
    EXPECT_TRUE(isAnswerComplete(read, answer));
    EXPECT_TRUE(isAnswerComplete(read, modbus::frame({0x01, 0x83, 0x02})));
    EXPECT_TRUE(isAnswerComplete(ExpectedAnswer::modbus(modbus::kWriteMultipleRegisters),
                                 modbus::frame({0x01, 0x10, 0x00, 0x0A, 0x00, 0x03})));
    EXPECT_FALSE(isAnswerComplete(read, modbus::frame({0x01, 0x04, 0x02, 0x00, 0x00}))) << "another function";
    EXPECT_FALSE(isAnswerComplete(ExpectedAnswer{}, answer)) << "unknown answers end on silence";
}

}  // namespace
}  // namespace orvanic
