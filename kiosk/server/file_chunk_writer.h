#pragma once
// Files the server sends in chunks are assembled in a temporary file beside
// the target (the target's name followed by ".lock") and moved into place
// whole when the last chunk arrived, so a transfer cut short never leaves a
// half file under the target's name. A temporary file that cannot become the
// target is removed.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "kiosk/records/file_chunk_records.h"

namespace hx {

// Far above a room picture or the picture list: a server that goes on past
// it is not sending either, and would otherwise fill the disk.
inline constexpr uintmax_t kMaxChunkedFileBytes = 8 * 1024 * 1024;

enum class enumChunkWrite {
    Written,    // more chunks to come
    Completed,  // the file is in place
    Failed,     // dropped; the transfer does not advance
    TooLarge,   // would take the file past kMaxChunkedFileBytes: the partial file is gone
    Skipped,    // a later chunk of a file refused as too large; nothing to report
};

struct stChunkWriteResult {
    enumChunkWrite result = enumChunkWrite::Failed;
    std::string failure;  // why, for the log, when it failed or was too large
};

inline constexpr const char* kChunkTemporarySuffix = ".lock";

std::filesystem::path ChunkTemporaryPath(const std::filesystem::path& target);

// Removes the temporary files anywhere under folder and names them. Meant for
// start-up, when no transfer is under way: what is left then was cut short
// by a crash or a power cut, and nothing would ever finish it.
std::vector<std::filesystem::path> RemoveChunkTemporaries(const std::filesystem::path& folder);

// A chunk at offset 0 starts the file afresh (folders created, an old
// temporary file thrown away). A chunk that would leave a gap (its offset
// lies beyond what was written so far) is refused: the file would be
// completed with bytes that never came. A chunk that would take the file past
// kMaxChunkedFileBytes is TooLarge, and what had come of the file is thrown
// away. Never gives Skipped.
stChunkWriteResult WriteFileChunk(const std::filesystem::path& target, const stFileChunk& chunk);

// WriteFileChunk for a series of transfers, remembering the files refused as
// too large: the rest of such a transfer is Skipped, so the refusal is
// reported once, not once a chunk, until the file starts again at offset 0.
class CFileChunkWriter {
public:
    stChunkWriteResult Write(const std::filesystem::path& target, const stFileChunk& chunk);

private:
    std::set<std::filesystem::path> m_tooLarge;
};

}  // namespace hx
