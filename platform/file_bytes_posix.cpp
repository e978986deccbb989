#include "platform/file_bytes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace hx {

std::optional<std::string> ReadFileIfPresent(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return (errno == ENOENT || errno == ENOTDIR) ? std::optional<std::string>("")
                                                     : std::nullopt;
    }
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            ::close(fd);
            return count == 0 ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
        }
        bytes.append(buffer, static_cast<size_t>(count));
    }
}

}  // namespace hx
