#include "tests/support/temp_folder.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "tests/support/test_random.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

// Names are drawn at random; one already taken (by a test running beside
// this one) is passed over, so the folder made is always new.
constexpr int kNameAttempts = 100;

std::string RandomName(std::string_view prefix) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(FreshSeed()));
    return std::string(prefix) + suffix;
}

}  // namespace

CTempFolder::CTempFolder(std::string_view prefix) {
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const fs::path candidate = base / RandomName(prefix);
        if (fs::create_directory(candidate)) {
            fs::permissions(candidate, fs::perms::owner_all);
            m_path = candidate;
            return;
        }
    }
    // A test cannot go on without its folder; the exception fails it.
    throw std::runtime_error("no fresh temporary folder below " + base.string());
}

CTempFolder::~CTempFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

}  // namespace hx
