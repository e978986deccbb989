#include "tools/common/tool_console.h"

#include <atomic>
#include <iostream>
#include <mutex>
#include <thread>

#include "platform/message_loop.h"
#include "platform/quit_signals.h"

namespace hx {

namespace {

constexpr UINT kQuitMessage = WM_APP + 1;

std::mutex g_consoleMutex;
ConsoleCommand g_command;
std::atomic<uint32_t> g_mainThread{0};

void ReadStandardInput() {
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::optional<std::string> reply = RunConsoleCommand(line);
        if (!reply) {
            return;
        }
        std::cout << *reply << std::endl;
    }
}

}  // namespace

void ServeConsole(ConsoleCommand command) {
    {
        const std::lock_guard lock(g_consoleMutex);
        g_command = std::move(command);
    }
    std::thread(ReadStandardInput).detach();
}

std::optional<std::string> RunConsoleCommand(const std::string& line) {
    const std::lock_guard lock(g_consoleMutex);
    if (!g_command) {
        return std::nullopt;
    }
    return g_command(line);
}

void CloseConsole() {
    const std::lock_guard lock(g_consoleMutex);
    g_command = nullptr;
}

CToolQuit::CToolQuit() {
    g_mainThread = GetCurrentThreadId();
    InstallQuitSignals(g_mainThread, kQuitMessage);
}

CToolQuit::~CToolQuit() {
    if (!m_held) {
        UninstallQuitSignals();
    }
}

void CToolQuit::Wait() {
    MSG message;
    while (GetMessage(&message) > 0 && message.message != kQuitMessage) {
        DispatchMessage(&message);
    }
}

void RequestToolQuit() {
    PostThreadMessage(g_mainThread, kQuitMessage, 0, 0);
}

}  // namespace hx
