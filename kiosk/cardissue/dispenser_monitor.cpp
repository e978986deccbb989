#include "kiosk/cardissue/dispenser_monitor.h"

#include <cstdio>

#include "platform/atomic_file.h"
#include "platform/cp949.h"

namespace hx {

namespace {

std::string DumpFileName(const stLocalTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "DispenserLog-%04d%02d%02d.log", t.year, t.month, t.day);
    return text;
}

// One dump runs at a time, whichever monitor asks.
std::mutex& DumpLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

CDispenserMonitor::CDispenserMonitor(LogLine logLine, Clock clock)
    : m_logLine(std::move(logLine)), m_clock(std::move(clock)) {}

void CDispenserMonitor::AddDispenserLogRow(const stDispenserRow& row) {
    if (m_logLine) {
        m_logLine("(" + row.direction + ") (" + row.command + ") " + row.content);
    }
    if (m_rows.size() == kMaxRows) {
        m_rows.pop_front();
    }
    m_rows.push_back({LocalTimeText(m_clock()), row});
}

bool CDispenserMonitor::SaveList(const std::filesystem::path& folder) const {
    std::string lines;
    for (const stDispenserLogRow& entry : m_rows) {
        lines += "[" + entry.time + "] " + entry.row.direction + "|" + entry.row.command + "|" +
                 entry.row.content + "\r\n";
    }
    const std::lock_guard lock(DumpLock());
    return AppendToFile(folder / DumpFileName(m_clock()), Cp949FromUtf8(lines));
}

}  // namespace hx
