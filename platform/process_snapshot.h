#pragma once
// The processes running now, as a snapshot of the system's process table
// gives them, and starting a program the way the shell's "open" does: in a
// folder of its own, without a window, not waited for.

#include <filesystem>
#include <string>
#include <vector>

namespace hx {

struct stProcessEntry {
    int pid = 0;
    std::string imageName;  // the program file's name, without its folder
    int threads = 0;
};

std::vector<stProcessEntry> SnapshotProcesses();

// True when a process whose image name is exactly `imageName` (letter case
// counts) runs with at least one thread.
bool IsProcessRunning(const std::string& imageName);

// Starts `program` with `folder` as its working folder; false when it
// could not be started. The child is not waited for (nor left a zombie).
bool OpenProgram(const std::filesystem::path& program, const std::filesystem::path& folder);

}  // namespace hx
