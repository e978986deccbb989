#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace hx {

namespace {

constexpr mode_t kNewFileMode = 0644;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

mode_t ModeToKeep(const std::filesystem::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? (info.st_mode & 07777) : kNewFileMode;
}

// Fills the temporary file and makes its content durable before it gets the name.
bool WriteDurably(int fd, std::string_view bytes, mode_t mode) {
    const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

bool SyncPath(const std::filesystem::path& path, int flags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// The rename itself is only durable once the folder's entry is on disk.
bool SyncFolder(const std::filesystem::path& folder) {
    return SyncPath(folder, O_DIRECTORY);
}

}  // namespace

bool FlushFileToDisk(const std::filesystem::path& file) {
    return SyncPath(file, 0);
}

bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::string temporary = file.string() + ".tmpXXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (!WriteDurably(fd, bytes, ModeToKeep(file)) ||
        ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return SyncFolder(folder);
}

bool AppendToFile(const std::filesystem::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kNewFileMode);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

// The folder too: a file created since the last flush is only found again
// after a power cut once its entry is on disk.
bool FlushAppendsToDisk(const std::filesystem::path& file) {
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    return SyncPath(file, 0) && SyncFolder(folder);
}

}  // namespace hx
