#include "files/data_file_bytes.h"

#include <bit>

namespace orvanic {

std::uint32_t loadU32(const char* p)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(p[i]);
    return value;
}

std::uint64_t loadU64(const char* p)
{
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(p[i]);
    return value;
}

void ByteWriter::u32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i, value >>= 8)
        m_out.push_back(static_cast<char>(value & 0xFF));
}

void ByteWriter::f64(double value)
{
    auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i, bits >>= 8)
        m_out.push_back(static_cast<char>(bits & 0xFF));
}

void ByteWriter::countedText(std::string_view bytes)
{
    u32(static_cast<std::uint32_t>(bytes.size()));
    m_out.append(bytes);
}

std::optional<std::uint8_t> ByteReader::u8()
{
    if (remaining() < 1)
        return std::nullopt;
    return static_cast<std::uint8_t>(m_data[m_pos++]);
}

std::optional<std::uint32_t> ByteReader::u32()
{
    if (remaining() < 4)
        return std::nullopt;
    const std::uint32_t value = loadU32(m_data.data() + m_pos);
    m_pos += 4;
    return value;
}

std::optional<double> ByteReader::f64()
{
    if (remaining() < 8)
        return std::nullopt;
    const double value = std::bit_cast<double>(loadU64(m_data.data() + m_pos));
    m_pos += 8;
    return value;
}

std::optional<std::string_view> ByteReader::bytes(std::size_t count)
{
    if (remaining() < count)
        return std::nullopt;
    const std::string_view out = m_data.substr(m_pos, count);
    m_pos += count;
    return out;
}

bool ByteReader::skip(std::size_t count)
{
    return bytes(count).has_value();
}

std::optional<std::string_view> ByteReader::countedText()
{
    const std::size_t start = m_pos;
    const std::optional<std::uint32_t> count = u32();
    if (!count)
        return std::nullopt;
    const auto text = bytes(*count);
    if (!text)
        m_pos = start;
    return text;
}

}  // namespace orvanic
