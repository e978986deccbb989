#include "platform/program_file.h"

#include <system_error>

namespace hx {

std::filesystem::path GetProgramFile() {
    // The kernel keeps this link to the file the process was started from,
    // whatever the current folder or the name it was started by.
    std::error_code error;
    std::filesystem::path file = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : file;
}

}  // namespace hx
