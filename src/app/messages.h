#pragma once

#include <string>
#include <string_view>

namespace orvanic {

// A message box's text and caption, as the operator reads them.
struct UserMessage {
    std::string text;
    std::string caption;
    bool operator==(const UserMessage&) const = default;
};

namespace caption {
inline constexpr std::string_view kError = "Сообщение об ошибке";
inline constexpr std::string_view kAttention = "Внимание";
}  // namespace caption

namespace text {
inline constexpr std::string_view kPortUnavailable = "Порт либо отсутствует, либо занят другим устройством.";
inline constexpr std::string_view kNoAnswer = "Устройство не отвечает.";
inline constexpr std::string_view kCrcError = "Ошибка CRC";
inline constexpr std::string_view kNotConnected = "Прибор не подключен";
}  // namespace text

}  // namespace orvanic
