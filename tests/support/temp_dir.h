#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvanic::test {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path write(std::string_view name, std::string_view content) const;

private:
    std::filesystem::path m_path;
};

std::string readFile(const std::filesystem::path& path);

}  // namespace orvanic::test
