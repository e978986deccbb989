#pragma once
// A fresh, empty folder of the test's own below the system's temporary
// folder, readable by its owner only, removed with all it holds when the
// object goes.

#include <filesystem>
#include <string_view>

namespace hx {

class CTempFolder {
public:
    // The folder's name starts with `prefix`, so leftovers tell whose they are.
    explicit CTempFolder(std::string_view prefix = "hxtest");
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace hx
