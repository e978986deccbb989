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

bool CDeviceLine::QuitAsked() {
    std::lock_guard lock(m_mutex);
    return ConsoleQuitAsked();
}

}  // namespace hx
