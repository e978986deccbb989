#include "platform/process_snapshot.h"

#include <algorithm>

namespace hx {

bool IsProcessRunning(const std::string& imageName) {
    const std::vector<stProcessEntry> processes = SnapshotProcesses();
    return std::any_of(processes.begin(), processes.end(), [&](const stProcessEntry& process) {
        return process.imageName == imageName && process.threads > 0;
    });
}

}  // namespace hx
