#include "kiosk/cash/board_monitor.h"

namespace hx {

CBoardMonitor::CBoardMonitor(LogLine logLine) : m_logLine(std::move(logLine)) {}

void CBoardMonitor::AddBoardLogRow(std::string_view kind, bool inbound, std::string_view command,
                                   std::string_view content) {
    stBoardLogRow row{std::string(kind), std::string(inbound ? kBoardInbound : kBoardOutbound),
                      std::string(command), std::string(content)};
    if (m_logLine) {
        m_logLine(row.kind + " " + row.direction + " " + row.command + " " + row.content);
    }
    if (m_rows.size() == kMaxRows) {
        m_rows.pop_front();
    }
    m_rows.push_back(std::move(row));
}

}  // namespace hx
