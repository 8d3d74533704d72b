#include "link/exchange_log.h"

namespace orvanic {

ExchangeLog::ExchangeLog(std::filesystem::path path)
    : m_path(std::move(path))
{
}

ExchangeLog::~ExchangeLog()
{
    close();
}

void ExchangeLog::create()
{
    close();
    m_file = std::fopen(m_path.c_str(), "wb");
}

void ExchangeLog::open()
{
    close();
    m_file = std::fopen(m_path.c_str(), "ab");
}

void ExchangeLog::close()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void ExchangeLog::writeSent(std::span<const std::uint8_t> requestWithCrLf)
{
    write(LogSentLabel);
    write(requestWithCrLf);
}

void ExchangeLog::writeReceived(std::span<const std::uint8_t> answer)
{
    static constexpr std::uint8_t kCrLf[] = {0x0D, 0x0A};
    write(LogRecvLabel);
    write(answer);
    write(kCrLf);
}

void ExchangeLog::write(std::span<const std::uint8_t> bytes)
{
    if (m_file && !bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), m_file);
}

}  // namespace orvanic
