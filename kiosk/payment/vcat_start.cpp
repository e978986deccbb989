#include "kiosk/payment/vcat_start.h"

#include <string>

#include "platform/drive.h"
#include "platform/process_snapshot.h"
#include "platform/registry.h"

namespace hx {

int StartVCat(const std::function<void(std::string_view)>& log) {
    if (IsProcessRunning("VCat.exe")) {
        return kVCatRunning;
    }
    std::string folder;
    CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, "SOFTWARE\\VCAT", "PATH", "",
                                     folder);
    if (folder.empty()) {
        log("VCAT 설치안됨");
        return kVCatNotInstalled;
    }
    const std::filesystem::path installed = MapWindowsPath(folder);
    OpenProgram(installed / "VCatRun.exe", installed);
    log("VCAT 재실행");
    return kVCatStarted;
}

}  // namespace hx
