#pragma once
// For tests and benchmarks: the kiosk program as a child process on a drive
// folder of the caller's own, with its screen on a free port. Its log is read
// with testing_kiosk_log.h.
//
// The program's path comes from HX_KIOSK_PROGRAM.

#include <filesystem>

#include "kiosk/support/testing_kiosk_log.h"
#include "tests/support/child_process.h"

namespace hx {

inline bool StartKioskProgram(CChildProcess& kiosk, const std::filesystem::path& drive) {
    stChildLaunch launch;
    launch.args = {HX_KIOSK_PROGRAM, "--drive", drive.string(), "--ui-port", "0"};
    return kiosk.Start(launch);
}

}  // namespace hx
