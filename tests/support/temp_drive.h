#pragma once
// A fresh drive folder for one test, removed afterwards.

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/drive.h"

namespace hx {

class CTempDrive {
public:
    CTempDrive() {
        std::string pattern = (std::filesystem::temp_directory_path() / "hxtest.XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        SetDriveFolder(m_folder);
    }
    ~CTempDrive() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    CTempDrive(const CTempDrive&) = delete;
    CTempDrive& operator=(const CTempDrive&) = delete;

    const std::filesystem::path& Folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

}  // namespace hx
