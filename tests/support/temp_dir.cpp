#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orvanic::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvanic-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        std::abort();
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempDir::write(std::string_view name, std::string_view content) const
{
    const auto file = m_path / name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace orvanic::test
