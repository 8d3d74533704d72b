#include "link/short_text.h"

#include "link/cp1251.h"

namespace orvanic {

ShortText ShortText::fromUnicode(std::u32string_view text)
{
    ShortText t;
    for (std::size_t i = 0; i < text.size() && i < kMaxLength; ++i)
        t.m_bytes.push_back(static_cast<char>(unicodeToCp1251(text[i])));
    return t;
}

ShortText ShortText::fromUtf8(std::string_view utf8)
{
    return fromUnicode(utf8ToU32(utf8));
}

ShortText ShortText::fromCp1251(std::string_view bytes)
{
    ShortText t;
    t.m_bytes = bytes.substr(0, kMaxLength);
    return t;
}

std::string ShortText::utf8() const
{
    return cp1251ToUtf8(m_bytes);
}

}  // namespace orvanic
