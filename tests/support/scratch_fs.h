#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace orvanic::test {

// A folder where writing fails the way it does on a customer's machine:
// read-only, or on a file system with no space left. Both are a small tmpfs
// mounted for the test, which needs root with CAP_SYS_ADMIN; where mounting
// is refused (a container, an ordinary user) the place is not ready and
// whyNot() says why, so the test can skip. An ordinary user still gets a
// read-only folder from its permissions, which do not hold back root.
class ScratchPlace {
public:
    enum class Kind {
        ReadOnly,
        Full,        // not one byte more
        NearlyFull,  // a few pages left, less than a large file needs
    };

    // `earlierName` is written into the folder first, as the earlier file that a
    // failed write must leave as it was.
    ScratchPlace(Kind kind, const std::string& earlierName, const std::string& earlierContent);
    ~ScratchPlace();
    ScratchPlace(const ScratchPlace&) = delete;
    ScratchPlace& operator=(const ScratchPlace&) = delete;

    bool ready() const { return m_whyNot.empty(); }
    const std::string& whyNot() const { return m_whyNot; }
    const std::filesystem::path& path() const { return m_path; }

    // The names in the folder, sorted, without the filler that uses up its space.
    std::vector<std::string> names() const;

private:
    bool mountTmpfs();

    TempDir m_base;
    std::filesystem::path m_path;
    bool m_mounted = false;
    std::string m_whyNot;
};

}  // namespace orvanic::test
