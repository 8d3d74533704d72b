#include "own_protocol.h"

#include "crc.h"
#include "device.h"

#include <bit>

namespace orvanic::sim {

namespace {

constexpr std::uint8_t kDle = 0x10;
constexpr std::uint8_t kRequestMark = 0x60;
constexpr std::uint8_t kBodyMark = 0x01;
constexpr std::uint8_t kEndMark = 0x03;
constexpr std::size_t kHeaderLength = 7;  // 10 60 A A 10 01 CMD

constexpr std::uint8_t kSetClock = 0x01;
constexpr std::uint8_t kReadClock = 0x09;
constexpr std::uint8_t kArchive = 0x0A;
constexpr std::uint8_t kCurrent = 0x0B;
constexpr std::uint8_t kScreen = 0x0C;
constexpr std::uint8_t kIdentify = 0xE0;

struct CommandShape {
    std::size_t params;
    bool doubled;  // whether a 0x10 parameter byte travels as 10 10
};

// The command decides how many parameters follow. Set-clock sends its six
// bytes raw; archive doubles 0x10 like the archive answer does.
std::optional<CommandShape> commandShape(std::uint8_t command)
{
    switch (command) {
    case kIdentify:
    case kCurrent:
    case kScreen:
    case kReadClock:
        return CommandShape{0, false};
    case kSetClock:
        return CommandShape{6, false};
    case kArchive:
        return CommandShape{4, true};
    default:
        return std::nullopt;
    }
}

FrameScan needMore() { return {FrameScan::Result::NeedMore, 0, false, {}}; }
FrameScan notAFrame() { return {FrameScan::Result::NotAFrame, 0, false, {}}; }

void appendFloat(Bytes& out, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(lowByte(bits >> shift));
}

void appendInt(Bytes& out, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(lowByte(bits >> shift));
}

Bytes recordPayload(const Record& record)
{
    Bytes payload;
    for (const RecordValue& value : record.values) {
        if (value.whole)
            appendInt(payload, value.count);
        else
            appendFloat(payload, value.real);
    }
    return payload;
}

// 10 01 A A payload 10 03 CRC; the checksum covers A A payload 10 03 as they
// are before any doubling.
Bytes answerFrame(std::uint8_t address, const Bytes& payload, bool doubled)
{
    Bytes body{address, address};
    body.insert(body.end(), payload.begin(), payload.end());
    Bytes checked = body;
    checked.push_back(kDle);
    checked.push_back(kEndMark);

    Bytes frame{kDle, kBodyMark};
    for (std::uint8_t byte : body) {
        frame.push_back(byte);
        if (doubled && byte == kDle)
            frame.push_back(kDle);
    }
    frame.push_back(kDle);
    frame.push_back(kEndMark);
    appendCrc(frame, ownCrc(checked));
    return frame;
}

ArchivePeriod periodOf(const Request& request)
{
    return {request.data[0], request.data[1], request.data[2], request.data[3]};
}

}  // namespace

FrameScan OwnProtocol::scan(std::span<const std::uint8_t> bytes) const
{
    // Check the header byte by byte so that garbage is rejected as soon as
    // it cannot be the start of a request: 10 60 A A 10 01.
    const auto fitsHeader = [&bytes](std::size_t i) {
        switch (i) {
        case 0: return bytes[0] == kDle;
        case 1: return bytes[1] == kRequestMark;
        case 2: return true;
        case 3: return bytes[3] == bytes[2];
        case 4: return bytes[4] == kDle;
        default: return bytes[5] == kBodyMark;
        }
    };
    for (std::size_t i = 0; i < kHeaderLength - 1; ++i) {
        if (i >= bytes.size())
            return needMore();
        if (!fitsHeader(i))
            return notAFrame();
    }
    if (bytes.size() < kHeaderLength)
        return needMore();
    const std::uint8_t command = bytes[6];
    const std::optional<CommandShape> shape = commandShape(command);
    if (!shape)
        return notAFrame();

    Request request{bytes[2], command, {}};
    std::size_t pos = kHeaderLength;
    while (request.data.size() < shape->params) {
        if (pos >= bytes.size())
            return needMore();
        const std::uint8_t byte = bytes[pos++];
        if (shape->doubled && byte == kDle) {
            if (pos >= bytes.size())
                return needMore();
            if (bytes[pos++] != kDle)
                return notAFrame();
        }
        request.data.push_back(byte);
    }
    for (std::uint8_t expected : {kDle, kEndMark}) {
        if (pos >= bytes.size())
            return needMore();
        if (bytes[pos++] != expected)
            return notAFrame();
    }
    if (pos + 2 > bytes.size())
        return needMore();

    Bytes checked{command};
    checked.insert(checked.end(), request.data.begin(), request.data.end());
    checked.push_back(kDle);
    checked.push_back(kEndMark);
    const bool checksumOk = ownCrc(checked) == storedCrc(bytes[pos], bytes[pos + 1]);
    return {FrameScan::Result::Complete, pos + 2, checksumOk, std::move(request)};
}

std::optional<ArchivePeriod> OwnProtocol::archivePeriod(const Request& request, const Device&) const
{
    if (request.code != kArchive)
        return std::nullopt;
    return periodOf(request);
}

Bytes OwnProtocol::answer(const Request& request, Device& device) const
{
    switch (request.code) {
    case kIdentify:
        return answerFrame(request.address, device.description(), false);
    case kCurrent:
        return answerFrame(request.address, recordPayload(device.nextCurrentRecord()), false);
    case kScreen:
        return answerFrame(request.address, recordPayload(device.nextScreenRecord()), false);
    case kArchive:
        return answerFrame(request.address, recordPayload(device.archiveRecord(periodOf(request))), true);
    case kReadClock: {
        const ClockFields now = device.clock();
        const Bytes payload{lowByte(static_cast<std::uint32_t>(now.year % 100)),
                            lowByte(static_cast<std::uint32_t>(now.month)),
                            lowByte(static_cast<std::uint32_t>(now.day)),
                            lowByte(static_cast<std::uint32_t>(now.hour)),
                            lowByte(static_cast<std::uint32_t>(now.minute)),
                            lowByte(static_cast<std::uint32_t>(now.second))};
        return answerFrame(request.address, payload, false);
    }
    case kSetClock: {
        const Bytes& p = request.data;
        device.setClock({2000 + p[0], p[1], p[2], p[3], p[4], p[5]});
        return answerFrame(request.address, Bytes{0x01}, false);
    }
    default:
        return {};
    }
}

Bytes OwnProtocol::noData(const Request& request) const
{
    return answerFrame(request.address, Bytes{0x00}, false);
}

}  // namespace orvanic::sim
