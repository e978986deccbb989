#pragma once
// The board's monitor: the rows of traffic a technician reads on the
// board's screen, each also written to the PCB log, and the monitor's two
// options. The rows are capped, oldest first out, so a board that talks all
// day does not grow the kiosk without end.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace hx {

struct stBoardLogRow {
    std::string kind;
    std::string direction;
    std::string command;
    std::string content;
};

inline constexpr std::string_view kBoardInbound = "PC<<  CB";
inline constexpr std::string_view kBoardOutbound = "PC  >>CB";

class CBoardMonitor {
public:
    static constexpr size_t kMaxRows = 10000;
    using LogLine = std::function<void(std::string_view)>;

    // Each row's line goes to `logLine` (the PCB log in the kiosk).
    explicit CBoardMonitor(LogLine logLine);

    void AddBoardLogRow(std::string_view kind, bool inbound, std::string_view command,
                        std::string_view content);
    void Clear() { m_rows.clear(); }
    const std::deque<stBoardLogRow>& Rows() const { return m_rows; }

    // The dump of the last bytes read or written, shown above the rows.
    void SetLastDump(std::string dump) { m_lastDump = std::move(dump); }
    const std::string& LastDump() const { return m_lastDump; }

    bool m_bShowAcks = true;
    bool m_bShowChangeRequests = false;

private:
    LogLine m_logLine;
    std::deque<stBoardLogRow> m_rows;
    std::string m_lastDump;
};

}  // namespace hx
