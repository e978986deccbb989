#include "kiosk/cash/board_receiver.h"

#include <string>

#include "kiosk/cash/board_chunk.h"
#include "kiosk/support/hex_dump.h"

namespace hx {

namespace {

constexpr std::string_view kBoardKind = "컨트롤보드";
constexpr std::string_view kAnswerCommand = "응답";

}  // namespace

CBoardReceiver::CBoardReceiver(CBoardMonitor& monitor, CBoardDevices& devices,
                               CBoardCommandQueue& queue)
    : m_monitor(monitor), m_devices(devices), m_queue(queue) {}

void CBoardReceiver::ParseBoardChunk(std::span<const uint8_t> chunk) {
    const std::string dump = HexDump(chunk);
    m_monitor.SetLastDump(dump);
    if (m_monitor.m_bShowAcks || !IsBareAcknowledgement(chunk)) {
        m_monitor.AddBoardLogRow(kBoardKind, true, kAnswerCommand, dump);
    }
    if (IsBoardAnswer(chunk)) {
        m_queue.OnBoardAnswer();
    }
    const stBoardChunk parsed = hx::ParseBoardChunk(chunk);
    for (const stBoardRecord& record : parsed.records) {
        m_devices.Apply(record);
    }
    if (parsed.drop == enumBoardChunkDrop::SplitFrame) {
        ++m_splitFrames;
        m_monitor.AddBoardLogRow(kBoardKind, true, kAnswerCommand,
                                 "잘린 프레임 버림 (누적 " + std::to_string(m_splitFrames) + ")");
    }
}

}  // namespace hx
