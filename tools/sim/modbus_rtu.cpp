#include "modbus_rtu.h"

#include "crc.h"
#include "device.h"

#include <algorithm>
#include <bit>

namespace orvanic::sim {

namespace {

constexpr std::uint8_t kReadHolding = 0x03;
constexpr std::uint8_t kWriteMultiple = 0x10;
constexpr std::uint8_t kReportSlaveId = 0x11;
constexpr std::uint8_t kExceptionFlag = 0x80;

constexpr std::uint8_t kIllegalFunction = 0x01;
constexpr std::uint8_t kIllegalAddress = 0x02;
constexpr std::uint8_t kIllegalValue = 0x03;

constexpr std::uint16_t kClockStart = 0;
constexpr std::uint16_t kClockRegisters = 3;
constexpr std::uint16_t kScreenStart = 20;
constexpr std::uint16_t kCurrentStart = 100;
constexpr std::uint16_t kArchiveStart = 256;
constexpr std::uint16_t kWriteStart = 10;
constexpr std::uint8_t kSetClockTag = 0x01;
constexpr std::uint8_t kSelectPeriodTag = 0x0A;
constexpr std::uint16_t kMaxReadRegisters = 125;
constexpr std::uint16_t kMaxWriteRegisters = 123;

constexpr std::size_t kMinFrame = 4;  // address, function, CRC
constexpr std::size_t kMaxFrame = 256;
constexpr std::size_t kMaxSlaveIdBytes = 250;  // what fits into one RTU frame
constexpr std::uint8_t kSlaveIdPad = '|';

FrameScan needMore() { return {FrameScan::Result::NeedMore, 0, false, {}}; }
FrameScan notAFrame() { return {FrameScan::Result::NotAFrame, 0, false, {}}; }

std::uint16_t wordAt(std::span<const std::uint8_t> bytes, std::size_t pos)
{
    return static_cast<std::uint16_t>((bytes[pos] << 8) | bytes[pos + 1]);
}

void appendWord(Bytes& out, std::uint16_t word)
{
    out.push_back(highByte(word));
    out.push_back(lowByte(word));
}

// A device float goes out as two registers, the low 16-bit half first.
void appendFloat(Bytes& out, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    appendWord(out, static_cast<std::uint16_t>(bits & 0xFFFF));
    appendWord(out, static_cast<std::uint16_t>(bits >> 16));
}

Bytes withCrc(Bytes frame)
{
    appendCrc(frame, modbusCrc(frame));
    return frame;
}

Bytes exception(const Request& request, std::uint8_t code)
{
    return withCrc({request.address, static_cast<std::uint8_t>(request.code | kExceptionFlag), code});
}

struct LengthGuess {
    enum class Kind {
        Known,       // `length` bytes
        Pending,     // more bytes are needed to tell
        Impossible,  // the bytes cannot be a request
        Unknown,     // a function of unknown layout
    };
    Kind kind;
    std::size_t length = 0;
};

// Functions the device does not serve still need their length so that they
// can be answered with "illegal function".
LengthGuess requestLength(std::span<const std::uint8_t> bytes)
{
    using Kind = LengthGuess::Kind;
    switch (bytes[1]) {
    case 0x07: case 0x0B: case 0x0C: case 0x11:
        return {Kind::Known, 4};
    case 0x18:
        return {Kind::Known, 6};
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06: case 0x08:
        return {Kind::Known, 8};
    case 0x16:
        return {Kind::Known, 10};
    case 0x0F: case 0x10: {
        if (bytes.size() < 7)
            return {Kind::Pending};
        const std::size_t quantity = wordAt(bytes, 4);
        const std::size_t byteCount = bytes[6];
        const std::size_t expected = bytes[1] == 0x10 ? quantity * 2 : (quantity + 7) / 8;
        if (quantity == 0 || byteCount != expected)
            return {Kind::Impossible};
        return {Kind::Known, 9 + byteCount};
    }
    case 0x17:
        if (bytes.size() < 11)
            return {Kind::Pending};
        return {Kind::Known, 13 + static_cast<std::size_t>(bytes[10])};
    default:
        return {Kind::Unknown};
    }
}

// For functions of unknown layout the frame ends where a checksum fits.
std::size_t lengthByChecksum(std::span<const std::uint8_t> bytes)
{
    const std::size_t limit = std::min(bytes.size(), kMaxFrame);
    for (std::size_t length = kMinFrame; length <= limit; ++length) {
        if (modbusCrc(bytes.first(length - 2)) == storedCrc(bytes[length - 2], bytes[length - 1]))
            return length;
    }
    return 0;
}

Bytes slaveIdAnswer(const Request& request, const Device& device)
{
    // Two characters per register, the first one in the low byte.
    Bytes text = device.description();
    if (text.size() > kMaxSlaveIdBytes)
        text.resize(kMaxSlaveIdBytes);
    if (text.size() % 2 != 0)
        text.push_back(kSlaveIdPad);
    Bytes frame{request.address, request.code, lowByte(static_cast<std::uint32_t>(text.size()))};
    for (std::size_t i = 0; i < text.size(); i += 2) {
        frame.push_back(text[i + 1]);
        frame.push_back(text[i]);
    }
    return withCrc(std::move(frame));
}

Bytes recordRegisters(const Record& record)
{
    Bytes data;
    for (const RecordValue& value : record.values)
        appendFloat(data, value.asFloat());
    for (float extra : record.extras)
        appendFloat(data, extra);
    return data;
}

Bytes clockRegisters(const ClockFields& now)
{
    const auto byte = [](int value) { return lowByte(static_cast<std::uint32_t>(value)); };
    return {byte(now.month), byte(now.year % 100), byte(now.hour), byte(now.day), byte(now.second), byte(now.minute)};
}

Bytes readAnswer(const Request& request, Device& device)
{
    const std::uint16_t start = wordAt(request.data, 0);
    const std::uint16_t count = wordAt(request.data, 2);
    if (count == 0 || count > kMaxReadRegisters)
        return exception(request, kIllegalValue);

    Bytes data;
    if (start >= kClockStart && start < kClockStart + kClockRegisters) {
        data = clockRegisters(device.clock());
        data.erase(data.begin(), data.begin() + 2 * (start - kClockStart));
    } else if (start == kCurrentStart) {
        data = recordRegisters(device.nextCurrentRecord());
    } else if (start == kScreenStart) {
        data = recordRegisters(device.nextScreenRecord());
    } else if (start == kArchiveStart && device.selectedArchivePeriod()) {
        data = recordRegisters(device.archiveRecord(*device.selectedArchivePeriod()));
    } else {
        return exception(request, kIllegalAddress);
    }
    // Serve exactly what was asked: zeros past the end, or cut short.
    data.resize(2U * count, 0);

    Bytes frame{request.address, request.code, lowByte(2U * count)};
    frame.insert(frame.end(), data.begin(), data.end());
    return withCrc(std::move(frame));
}

Bytes writeAnswer(const Request& request, Device& device)
{
    const std::uint16_t start = wordAt(request.data, 0);
    const std::uint16_t count = wordAt(request.data, 2);
    if (count > kMaxWriteRegisters)
        return exception(request, kIllegalValue);
    const std::span<const std::uint8_t> values = std::span(request.data).subspan(5);
    if (start != kWriteStart || values.size() != 2U * count)
        return exception(request, kIllegalAddress);

    // Register 10 carries the year in its high byte and what to do in its low one.
    const int year = values[0];
    const std::uint8_t tag = values[1];
    if (count == 4 && tag == kSetClockTag) {
        // yy 01 dd mm mi hh FF ss
        device.setClock({2000 + year, values[3], values[2], values[5], values[4], values[7]});
    } else if (count == 3 && tag == kSelectPeriodTag) {
        // yy 0A dd mm FF hh
        device.selectArchivePeriod({year, values[3], values[2], values[5]});
    } else {
        return exception(request, kIllegalAddress);
    }
    Bytes frame{request.address, request.code};
    appendWord(frame, start);
    appendWord(frame, count);
    return withCrc(std::move(frame));
}

}  // namespace

FrameScan ModbusRtu::scan(std::span<const std::uint8_t> bytes) const
{
    if (bytes.size() < 2)
        return needMore();
    // Function 0 does not exist and high codes are answers, not requests.
    if (bytes[1] == 0 || (bytes[1] & kExceptionFlag) != 0)
        return notAFrame();

    const LengthGuess guess = requestLength(bytes);
    std::size_t length = guess.length;
    switch (guess.kind) {
    case LengthGuess::Kind::Impossible:
        return notAFrame();
    case LengthGuess::Kind::Pending:
        return needMore();
    case LengthGuess::Kind::Known:
        if (bytes.size() < length)
            return needMore();
        break;
    case LengthGuess::Kind::Unknown:
        length = lengthByChecksum(bytes);
        if (length == 0)
            return bytes.size() >= kMaxFrame ? notAFrame() : needMore();
        break;
    }

    const std::span<const std::uint8_t> frame = bytes.first(length);
    FrameScan scan{FrameScan::Result::Complete, length, false, {}};
    scan.checksumOk = modbusCrc(frame.first(length - 2)) == storedCrc(frame[length - 2], frame[length - 1]);
    scan.request = {frame[0], frame[1], Bytes(frame.begin() + 2, frame.end() - 2)};
    return scan;
}

std::optional<ArchivePeriod> ModbusRtu::archivePeriod(const Request& request, const Device& device) const
{
    if (request.code != kReadHolding || request.data.size() < 2 || wordAt(request.data, 0) != kArchiveStart)
        return std::nullopt;
    return device.selectedArchivePeriod();
}

Bytes ModbusRtu::answer(const Request& request, Device& device) const
{
    switch (request.code) {
    case kReportSlaveId:
        return slaveIdAnswer(request, device);
    case kReadHolding:
        return readAnswer(request, device);
    case kWriteMultiple:
        return writeAnswer(request, device);
    default:
        return exception(request, kIllegalFunction);
    }
}

Bytes ModbusRtu::noData(const Request& request) const
{
    return exception(request, kIllegalAddress);
}

}  // namespace orvanic::sim
