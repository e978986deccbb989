#include "kiosk/server/server_message_dispatcher.h"

#include <string>
#include <utility>

#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"
#include "kiosk/records/update_records.h"
#include "kiosk/server/file_chunk_writer.h"
#include "net/packet_header.h"

namespace hx {

namespace {

// Commands the server sends that carry nothing the kiosk uses.
constexpr uint32_t kServerNotice = 9;
constexpr uint32_t kClassListEnd = 504;

// Reads the record and hands it on; a record that does not read is dropped
// through `drop`.
template <class Record, class Handler>
enumParseResult Deliver(std::span<const uint8_t> message, Handler&& handler,
                        const std::function<void(std::string_view)>& drop) {
    Record record;
    if (!Unpack(message, record)) {
        drop("내용 오류");
        return enumParseResult::Handled;
    }
    std::forward<Handler>(handler)(record);
    return enumParseResult::Handled;
}

}  // namespace

CServerMessageDispatcher::CServerMessageDispatcher(CServerEvents& events, CFileChunkWriter& files,
                                                   LogSink log)
    : m_events(events), m_files(files), m_log(std::move(log)) {}

size_t CServerMessageDispatcher::MinimumSize(uint32_t command) {
    switch (command) {
        case CMD_ROOM_LIST:
            return kRoomPageSize;
        case CMD_SINGLE_ROOM:
        case CMD_SINGLE_ROOM_ALT:
            return kSingleRoomSize;
        case CMD_CLASS_LIST:
            return kClassPageSize;
        case CMD_ROOM_IMAGES_INI:
        case CMD_PICTURE_CHUNK:
            return kFileChunkSize;
        case CMD_KIOSK_CONFIG:
            return kKioskConfigSize;
        case CMD_KIOSK_OPTIONS:
            return kKioskOptionsSize;
        case CMD_SALE_ANSWER:
            return kSaleAnswerSize;
        case CMD_STARTUP:
            return kStartupAnswerSize;
        default:
            return 0;
    }
}

enumParseResult CServerMessageDispatcher::Dispatch(std::span<const uint8_t> message) {
    if (message.size() < kPacketHeaderSize) {
        Dropped(PacketCommand(message), "헤더보다 짧음");
        return enumParseResult::Handled;
    }
    const uint32_t command = PacketCommand(message);
    const size_t minimum = MinimumSize(command);
    if (message.size() < minimum) {
        Dropped(command, std::to_string(message.size()) + "바이트, 최소 " +
                             std::to_string(minimum) + "바이트");
        return enumParseResult::Handled;
    }
    return DispatchChecked(command, message);
}

enumParseResult CServerMessageDispatcher::DispatchChecked(uint32_t command,
                                                          std::span<const uint8_t> message) {
    const auto drop = [this, command](std::string_view why) { Dropped(command, why); };
    CServerEvents& events = m_events;
    switch (command) {
        case kServerNotice:
        case kClassListEnd:
            return enumParseResult::Handled;
        case CMD_ROOM_LIST:
            return Deliver<stRoomPage>(
                message, [&](const stRoomPage& page) { events.OnRoomPage(page); }, drop);
        case CMD_SINGLE_ROOM:
        case CMD_SINGLE_ROOM_ALT:
            return Deliver<stSingleRoom>(
                message, [&](const stSingleRoom& single) { events.OnSingleRoom(single.room); },
                drop);
        case CMD_CLASS_LIST:
            return Deliver<stClassPage>(
                message, [&](const stClassPage& page) { events.OnClassPage(page); }, drop);
        case CMD_ROOM_IMAGES_INI:
        case CMD_PICTURE_CHUNK:
            return OnFileChunk(message);
        case CMD_CLEAR_LOADING:
            events.OnClearLoading();
            return enumParseResult::Handled;
        case CMD_KIOSK_CONFIG:
            return Deliver<stKioskConfig>(
                message, [&](const stKioskConfig& config) { events.OnKioskConfig(config); }, drop);
        case CMD_KIOSK_OPTIONS:
            return Deliver<stKioskOptions>(
                message, [&](const stKioskOptions& options) { events.OnKioskOptions(options); },
                drop);
        case CMD_SALE_ANSWER:
            return Deliver<stSaleAnswer>(
                message, [&](const stSaleAnswer& answer) { events.OnSaleAnswer(answer); }, drop);
        case CMD_STARTUP:
            return Deliver<stStartupAnswer>(
                message,
                [&](const stStartupAnswer& answer) {
                    if (answer.result == kStartupReady) {
                        events.OnStartupReady();
                    }
                },
                drop);
        default:
            return enumParseResult::NotMine;
    }
}

enumParseResult CServerMessageDispatcher::OnFileChunk(std::span<const uint8_t> message) {
    const uint32_t command = PacketCommand(message);
    stFileChunk chunk;
    if (!Unpack(message, chunk)) {
        Dropped(command, "조각 길이 또는 위치 오류");
        return enumParseResult::NotWritten;
    }
    const bool isPicture = command == CMD_PICTURE_CHUNK;
    const std::optional<std::filesystem::path> target =
        isPicture ? m_events.PictureTarget(chunk.index) : m_events.RoomImagesTarget();
    if (!target) {
        Dropped(command, "목록에 없는 그림 번호 " + std::to_string(chunk.index));
        return enumParseResult::NotWritten;
    }
    const stChunkWriteResult written = m_files.Write(*target, chunk);
    switch (written.result) {
        case enumChunkWrite::Failed:
        case enumChunkWrite::TooLarge:
            Dropped(command, target->string() + " " + written.failure);
            return enumParseResult::NotWritten;
        case enumChunkWrite::Skipped:
            return enumParseResult::NotWritten;
        case enumChunkWrite::Written:
            return enumParseResult::Handled;
        case enumChunkWrite::Completed:
            break;
    }
    if (isPicture) {
        m_events.OnPictureReceived(chunk.index);
    } else {
        m_events.OnRoomImagesReceived();
    }
    return enumParseResult::Handled;
}

void CServerMessageDispatcher::Dropped(uint32_t command, std::string_view why) {
    if (m_log) {
        m_log("서버 메시지 " + std::to_string(command) + " 버림: " + std::string(why));
    }
}

}  // namespace hx
