#include "platform/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <system_error>

#include "platform/drive.h"

namespace hx {

namespace {

constexpr size_t kMaxNameLength = 255;

}  // namespace

CNamedMutex::~CNamedMutex() {
    Release();
}

bool CNamedMutex::TryAcquire(std::string_view name) {
    Release();
    const std::string fileName = std::string(name.substr(0, kMaxNameLength)) + ".lock";
    const std::filesystem::path folder = GetDriveFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const int fd = ::open((folder / fileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    // An open file description of its own, so a second object in this process
    // is refused as well.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void CNamedMutex::Release() {
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

}  // namespace hx
