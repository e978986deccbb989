#include "kiosk/cash/board_command_sender.h"

#include <algorithm>
#include <string>

#include "kiosk/support/hex_dump.h"

namespace hx {

namespace {

// Rows show at most this many bytes of a command.
constexpr size_t kDumpedBytes = 10;

}  // namespace

CBoardCommandSender::CBoardCommandSender(CBoardMonitor& monitor, Write write)
    : m_monitor(monitor), m_write(std::move(write)) {}

void CBoardCommandSender::SendBoardCommand(const stControlBoardCommand& command) {
    if (!m_portOpen) {
        m_monitor.AddBoardLogRow("시스템", true, "Event", "Port를 먼저 연결하세요");
        return;
    }
    FollowBillInlet(command.code);
    const auto bytes = BoardCommandBytes(command);
    const auto labels = BoardCommandLabels(command.code);
    if (!bytes || !labels) {
        return;
    }
    const bool written = m_write && m_write(*bytes);
    const std::span<const uint8_t> sent(*bytes);
    const std::string dump = HexDump(sent.first(std::min(sent.size(), kDumpedBytes)));
    m_monitor.SetLastDump(dump);
    if (IsRowShown(command.code, written)) {
        const std::string label = std::string(labels->command) + (written ? "" : " !!전송실패");
        m_monitor.AddBoardLogRow(labels->device, false, label, dump);
    }
}

void CBoardCommandSender::FollowBillInlet(int code) {
    if (code == BOARD_BILL_INLET_OPEN || code == BOARD_BILL_INLET_OPEN_RESET) {
        m_billInletOpen = true;
    } else if (code == BOARD_BILL_INLET_CLOSE || code == BOARD_BILL_INLET_CLOSE_RESET) {
        m_billInletOpen = false;
    }
}

// Changed-data requests go out often; they are shown only on request, but a
// failed write always is.
bool CBoardCommandSender::IsRowShown(int code, bool written) const {
    const bool changeRequest = code == BOARD_COIN_CHANGED_DATA || code == BOARD_BILL_CHANGED_DATA;
    return !written || !changeRequest || m_monitor.m_bShowChangeRequests;
}

}  // namespace hx
