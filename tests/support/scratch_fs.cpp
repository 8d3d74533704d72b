#include "support/scratch_fs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvanic::test {
namespace {

constexpr const char* kOptions = "size=64k,mode=0755";
constexpr const char* kFiller = "filler";
constexpr off_t kNearlyFullRoom = 8 * 1024;

// Writes until the file system refuses: ENOSPC is what fills it.
bool fillUp(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const std::vector<char> block(4096, 'x');
    int error = 0;
    for (;;) {
        const ssize_t r = ::write(fd, block.data(), block.size());
        if (r < 0) {
            error = errno;
            break;
        }
        if (r < static_cast<ssize_t>(block.size()))
            continue;  // the last page: the next write is refused
    }
    ::close(fd);
    return error == ENOSPC;
}

}  // namespace

ScratchPlace::ScratchPlace(Kind kind, const std::string& earlierName, const std::string& earlierContent)
    : m_path(m_base.path() / "place")
{
    std::filesystem::create_directory(m_path);
    const bool mounted = mountTmpfs();
    if (!mounted && (kind != Kind::ReadOnly || ::geteuid() == 0))
        return;
    if (!earlierName.empty())
        std::ofstream(m_path / earlierName, std::ios::binary) << earlierContent;
    if (kind != Kind::ReadOnly) {
        const std::filesystem::path filler = m_path / kFiller;
        if (!fillUp(filler)) {
            m_whyNot = "the scratch file system did not fill up";
            return;
        }
        if (kind == Kind::NearlyFull)
            ::truncate(filler.c_str(), std::max<off_t>(0, static_cast<off_t>(std::filesystem::file_size(filler)) - kNearlyFullRoom));
        return;
    }
    if (mounted) {
        if (::mount(nullptr, m_path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, kOptions) != 0)
            m_whyNot = std::string("cannot remount the scratch file system read-only: ") + std::strerror(errno);
        return;
    }
    // Not root: the folder's permissions are enough.
    ::chmod(m_path.c_str(), 0555);
    m_whyNot.clear();
}

ScratchPlace::~ScratchPlace()
{
    if (m_mounted)
        ::umount2(m_path.c_str(), MNT_DETACH);
    else
        ::chmod(m_path.c_str(), 0755);
}

bool ScratchPlace::mountTmpfs()
{
    if (::mount("tmpfs", m_path.c_str(), "tmpfs", 0, kOptions) == 0) {
        m_mounted = true;
        return true;
    }
    m_whyNot = std::string("cannot mount a scratch tmpfs (") + std::strerror(errno)
        + "): mounting needs root with CAP_SYS_ADMIN, which this machine or container does not give";
    return false;
}

std::vector<std::string> ScratchPlace::names() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        if (entry.path().filename() != kFiller)
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace orvanic::test
