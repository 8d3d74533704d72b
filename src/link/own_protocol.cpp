#include "link/own_protocol.h"

#include "link/crc.h"

namespace orvanic::own {

std::vector<std::uint8_t> request(std::uint8_t address, std::uint8_t command, std::span<const std::uint8_t> params)
{
    std::vector<std::uint8_t> frame = {kDle, 0x60, address, address, kDle, kSoh, command};
    frame.insert(frame.end(), params.begin(), params.end());
    frame.push_back(kDle);
    frame.push_back(kEtx);
    const std::uint16_t crc = CRC16Str(std::span(frame).subspan(6));
    frame.push_back(lowByte(crc));
    frame.push_back(highByte(crc));
    return frame;
}

bool checksumMatches(std::span<const std::uint8_t> answer)
{
    const std::size_t n = answer.size();
    if (n < 4)
        return false;
    const std::uint16_t crc = CRC16Str(answer.subspan(2, n - 4));
    return answer[n - 2] == lowByte(crc) && answer[n - 1] == highByte(crc);
}

bool hasValidTail(std::span<const std::uint8_t> answer)
{
    const std::size_t n = answer.size();
    return n >= 8 && answer[n - 4] == kDle && answer[n - 3] == kEtx && checksumMatches(answer);
}

bool isNoDataAnswer(std::span<const std::uint8_t> answer)
{
    return answer.size() == kNoDataAnswerLength && answer[0] == kDle && answer[1] == kSoh && answer[5] == kDle
        && answer[6] == kEtx;
}

std::vector<std::uint8_t> undoubleDle(std::span<const std::uint8_t> answer)
{
    const std::size_t n = answer.size();
    if (n < 6)
        return {answer.begin(), answer.end()};
    std::vector<std::uint8_t> out(answer.begin(), answer.begin() + 2);
    const std::size_t tail = n - 4;
    for (std::size_t i = 2; i < tail; ++i) {
        out.push_back(answer[i]);
        if (answer[i] == kDle && i + 1 < tail && answer[i + 1] == kDle)
            ++i;  // the second of a doubled pair
    }
    out.insert(out.end(), answer.begin() + static_cast<std::ptrdiff_t>(tail), answer.end());
    return out;
}

}  // namespace orvanic::own
