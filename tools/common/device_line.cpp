#include "tools/common/device_line.h"

namespace hx {

void CDeviceLine::Start() {
    m_thread = std::thread([this] { Serve(m_stop); });
}

void CDeviceLine::Stop() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

std::string CDeviceLine::Execute(std::string_view line) {
    std::lock_guard lock(m_mutex);
    std::string reply = RunConsoleLine(line);
    m_journal.Write({{"event", "console"}, {"line", line}, {"reply", reply}});
    return reply;
}

void CDeviceLine::ReadUntilStopped(
    CPseudoTerminal& terminal, const std::atomic<bool>& stop, std::chrono::milliseconds quiet,
    const std::function<void(const std::vector<uint8_t>& bytes)>& take) {
    while (!stop) {
        std::vector<uint8_t> bytes;
        if (!terminal.ReadSome(bytes, quiet)) {
            m_journal.Write({{"event", "line failed"}});
            return;
        }
        std::lock_guard lock(m_mutex);
        take(bytes);
    }
}

bool CDeviceLine::QuitAsked() {
    std::lock_guard lock(m_mutex);
    return ConsoleQuitAsked();
}

}  // namespace hx
