#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>

namespace orvanic {

// "Передано:" and "Получено:" in Windows-1251, each followed by CR LF.
inline constexpr std::array<std::uint8_t, 11> LogSentLabel = {0xCF, 0xE5, 0xF0, 0xE5, 0xE4, 0xE0, 0xED, 0xEE, 0x3A, 0x0D, 0x0A};
inline constexpr std::array<std::uint8_t, 11> LogRecvLabel = {0xCF, 0xEE, 0xEB, 0xF3, 0xF7, 0xE5, 0xED, 0xEE, 0x3A, 0x0D, 0x0A};

// The exchange log: raw frame bytes after their labels, no header, no time
// stamps. A log that cannot be created or opened is simply not written;
// it never stops an exchange.
class ExchangeLog {
public:
    explicit ExchangeLog(std::filesystem::path path = "QN.log");
    ~ExchangeLog();
    ExchangeLog(const ExchangeLog&) = delete;
    ExchangeLog& operator=(const ExchangeLog&) = delete;

    void create();  // a new, empty log
    void open();    // appends to the log
    void close();
    bool isOpen() const { return m_file != nullptr; }

    // The request as sent followed by its CR LF.
    void writeSent(std::span<const std::uint8_t> requestWithCrLf);
    // The answer as received; CR LF is added here.
    void writeReceived(std::span<const std::uint8_t> answer);

private:
    void write(std::span<const std::uint8_t> bytes);

    std::filesystem::path m_path;
    std::FILE* m_file = nullptr;
};

}  // namespace orvanic
