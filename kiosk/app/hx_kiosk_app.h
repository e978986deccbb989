#pragma once
// The application object: start-up, the main thread's message loop and an
// orderly teardown. The kiosk's windows and devices join start-up here as they
// are built.

#include "kiosk/app/command_line.h"

class CHxKioskApp {
public:
    // Thread message that asks the kiosk to quit (also posted on SIGTERM/SIGINT).
    static constexpr unsigned kQuitThreadMessage = 1050;

    // Runs the kiosk until it is told to quit; returns the process exit code.
    int Run(const stCommandLine& commandLine);

private:
    bool InitInstance(const stCommandLine& commandLine);
    void RunMessageLoop();
    void ExitInstance();

    bool m_bQuitRequested = false;
};
