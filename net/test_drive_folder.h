#pragma once
// For tests: a fresh drive folder with the program's folders, made the
// process's drive folder for the life of the object.

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/drive.h"

namespace hx {

class CTestDriveFolder {
public:
    explicit CTestDriveFolder(bool withProgramFolders = true)
        : m_previous(GetDriveFolder()),
          m_root(std::filesystem::temp_directory_path() /
                 ("hxnet_drive_" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(m_root);
        if (withProgramFolders) {
            std::filesystem::create_directories(m_root / "Program Files" / "Harlix");
        }
        SetDriveFolder(m_root);
    }

    ~CTestDriveFolder() {
        SetDriveFolder(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::filesystem::path& Root() const { return m_root; }

    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_root;
};

}  // namespace hx
