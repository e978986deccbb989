#pragma once
// The dispenser's monitor: the rows a technician reads on the dispenser's
// screen (time, direction, command, content), each also written to the
// DispenserLog, and the dump of the whole list on request. The rows are
// capped, oldest first out, like the board's.

#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "kiosk/cardissue/dispenser_answer.h"
#include "platform/local_time.h"

namespace hx {

struct stDispenserLogRow {
    std::string time;  // "%Y-%m-%d %H:%M:%S"
    stDispenserRow row;
};

class CDispenserMonitor {
public:
    static constexpr size_t kMaxRows = 10000;
    using LogLine = std::function<void(std::string_view)>;
    using Clock = std::function<stLocalTime()>;

    // Each row's line goes to `logLine` (the DispenserLog in the kiosk).
    explicit CDispenserMonitor(LogLine logLine, Clock clock = GetLocalTimeNow);

    void AddDispenserLogRow(const stDispenserRow& row);
    const std::deque<stDispenserLogRow>& Rows() const { return m_rows; }

    // Appends every row to "DispenserLog-YYYYMMDD.log" in `folder`, one
    // "[time] direction|command|content" line each (CP949, CR LF); false
    // when it cannot.
    bool SaveList(const std::filesystem::path& folder) const;

private:
    LogLine m_logLine;
    Clock m_clock;
    std::deque<stDispenserLogRow> m_rows;
};

}  // namespace hx
