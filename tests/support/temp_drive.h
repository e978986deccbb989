#pragma once
// A fresh drive folder for one test, made the process's drive folder and
// removed afterwards.

#include <filesystem>

#include "platform/drive.h"
#include "tests/support/temp_folder.h"

namespace hx {

class CTempDrive {
public:
    CTempDrive() : m_folder("hxdrive") { SetDriveFolder(m_folder.Path()); }

    const std::filesystem::path& Folder() const { return m_folder.Path(); }

    // Makes a folder below the drive ("Program Files/Harlix") with its parents; its path.
    std::filesystem::path MakeFolder(const std::filesystem::path& relative) const {
        const std::filesystem::path folder = Folder() / relative;
        std::filesystem::create_directories(folder);
        return folder;
    }

private:
    CTempFolder m_folder;
};

}  // namespace hx
