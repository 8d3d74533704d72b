#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanic {

// Little-endian building blocks of the data file, whatever the host's byte order.

class ByteWriter {
public:
    void u8(std::uint8_t value) { m_out.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value);
    void f64(double value);
    void zeros(std::size_t count) { m_out.append(count, '\0'); }
    void bytes(std::string_view bytes) { m_out.append(bytes); }
    // A 32-bit count, then the bytes.
    void countedText(std::string_view bytes);

    void reserve(std::size_t size) { m_out.reserve(size); }
    std::string& text() { return m_out; }

private:
    std::string m_out;
};

// Reads from a buffer it never runs past: every read that would end beyond
// the last byte fails and leaves the position where it was.
class ByteReader {
public:
    explicit ByteReader(std::string_view data) : m_data(data) {}

    std::size_t remaining() const { return m_data.size() - m_pos; }
    std::size_t position() const { return m_pos; }

    std::optional<std::uint8_t> u8();
    std::optional<std::uint32_t> u32();
    std::optional<double> f64();
    std::optional<std::string_view> bytes(std::size_t count);
    bool skip(std::size_t count);
    // A 32-bit count, then that many bytes; fails when they are not all there.
    std::optional<std::string_view> countedText();

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

std::uint32_t loadU32(const char* p);
std::uint64_t loadU64(const char* p);

}  // namespace orvanic
