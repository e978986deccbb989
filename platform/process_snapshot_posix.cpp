#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <thread>

#include "platform/process_snapshot.h"

extern char** environ;

namespace hx {

namespace {

// The first argument the process was started with (its program as named),
// without its folder; a Windows-style path loses its folder too.
std::string ImageNameOf(const std::filesystem::path& procEntry) {
    std::ifstream cmdline(procEntry / "cmdline", std::ios::binary);
    std::string first;
    std::getline(cmdline, first, '\0');
    const size_t slash = first.find_last_of("/\\");
    return slash == std::string::npos ? first : first.substr(slash + 1);
}

int ThreadsOf(const std::filesystem::path& procEntry) {
    std::ifstream status(procEntry / "status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Threads:", 0) == 0) {
            return std::atoi(line.c_str() + 8);
        }
    }
    return 0;
}

bool IsNumber(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::vector<stProcessEntry> SnapshotProcesses() {
    std::vector<stProcessEntry> processes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (!IsNumber(name)) {
            continue;
        }
        const std::string image = ImageNameOf(entry.path());
        if (!image.empty()) {
            processes.push_back({std::atoi(name.c_str()), image, ThreadsOf(entry.path())});
        }
    }
    return processes;
}

// The child is reaped by a thread of its own, so it never stays a zombie.
bool OpenProgram(const std::filesystem::path& program, const std::filesystem::path& folder) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    const std::string path = program.string();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    const int result = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        return false;
    }
    std::thread([pid] {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }).detach();
    return true;
}

}  // namespace hx
