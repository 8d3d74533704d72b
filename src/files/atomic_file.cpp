#include "files/atomic_file.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanic {
namespace {

// A new private file beside `path`; -1 when none can be made.
int makeTemporary(const std::filesystem::path& path, std::string& name)
{
    std::filesystem::path temp = path;
    temp += ".tmp-XXXXXX";
    name = temp.string();
    return ::mkstemp(name.data());
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view content)
{
    std::string pattern;
    const int fd = makeTemporary(path, pattern);
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

bool writeFileAtomically(const std::filesystem::path& path, const std::function<bool(const std::filesystem::path&)>& write)
{
    std::string temporary;
    const int fd = makeTemporary(path, temporary);
    if (fd < 0)
        return false;
    ::close(fd);
    const bool ok = write(temporary) && ::chmod(temporary.c_str(), 0644) == 0 && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(temporary.c_str());
    return ok;
}

UserMessage fileNotWritten(const std::filesystem::path& file)
{
    return UserMessage{"Не удалось записать файл " + file.string() + ".", "Ошибка"};
}

}  // namespace orvanic
