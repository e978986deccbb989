#pragma once
// Reads the messages the server sends on its own initiative and hands each
// to the kiosk window's side. A message shorter than its record is logged
// and dropped, never read past its end; chunks of files are written here.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "kiosk/server/file_chunk_writer.h"
#include "kiosk/server/server_events.h"
#include "kiosk/support/daily_log.h"

namespace hx {

enum class enumParseResult {
    Handled,     // taken (also when dropped as malformed)
    NotWritten,  // a file chunk that was not written
    NotMine,     // not a kiosk message: the channel library's to handle
};

class CServerMessageDispatcher {
public:
    using LogSink = std::function<void(std::string_view utf8Line)>;

    // Chunks of files go through `files`, which outlives the dispatcher.
    CServerMessageDispatcher(CServerEvents& events, CFileChunkWriter& files,
                             LogSink log = HXKioskLog);

    // One whole message, header included.
    enumParseResult Dispatch(std::span<const uint8_t> message);

    // The shortest message of a kiosk command; 0 when any length will do.
    static size_t MinimumSize(uint32_t command);

private:
    enumParseResult DispatchChecked(uint32_t command, std::span<const uint8_t> message);
    enumParseResult OnFileChunk(std::span<const uint8_t> message);
    void Dropped(uint32_t command, std::string_view why);

    CServerEvents& m_events;
    CFileChunkWriter& m_files;
    const LogSink m_log;
};

}  // namespace hx
