#include "files/atomic_file.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanic {

bool writeFileAtomically(const std::filesystem::path& path, std::string_view content)
{
    std::filesystem::path temp = path;
    temp += ".tmp-XXXXXX";
    std::string pattern = temp.string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < content.size()) {
        const ssize_t r = ::write(fd, content.data() + done, content.size() - done);
        ok = r > 0;
        if (ok)
            done += static_cast<std::size_t>(r);
    }
    ok = ok && ::fsync(fd) == 0;
    // mkstemp makes the file private; give it the usual permissions.
    ok = ok && ::fchmod(fd, 0644) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(pattern.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(pattern.c_str());
    return ok;
}

}  // namespace orvanic
