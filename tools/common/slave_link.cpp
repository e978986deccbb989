#include "tools/common/slave_link.h"

namespace hx {

bool MakeSlaveLink(const std::filesystem::path& link, const std::string& target,
                   std::string& error) {
    std::error_code code;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(link, code))) {
        std::filesystem::remove(link, code);
    }
    std::filesystem::create_symlink(target, link, code);
    if (code) {
        error = "cannot link " + link.string() + ": " + code.message();
        return false;
    }
    return true;
}

void RemoveSlaveLink(const std::filesystem::path& link, const std::string& target) {
    std::error_code code;
    if (std::filesystem::read_symlink(link, code) == target) {
        std::filesystem::remove(link, code);
    }
}

}  // namespace hx
