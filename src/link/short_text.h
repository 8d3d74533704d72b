#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvanic {

// A counted text of at most 20 Windows-1251 characters, as the device's
// field and status names are kept and stored in files. Storing a longer
// text keeps its first 20 characters; a character Windows-1251 lacks
// becomes '?'.
class ShortText {
public:
    static constexpr std::size_t kMaxLength = 20;

    ShortText() = default;
    static ShortText fromUnicode(std::u32string_view text);
    static ShortText fromUtf8(std::string_view utf8);
    static ShortText fromCp1251(std::string_view bytes);

    const std::string& cp1251() const { return m_bytes; }
    std::string utf8() const;
    bool empty() const { return m_bytes.empty(); }

    bool operator==(const ShortText&) const = default;

private:
    std::string m_bytes;
};

}  // namespace orvanic
