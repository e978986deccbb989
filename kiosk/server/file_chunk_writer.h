#pragma once
// Files the server sends in chunks are assembled in a temporary file beside
// the target (the target's name followed by ".lock") and moved into place
// whole when the last chunk arrived, so a transfer cut short never leaves a
// half file under the target's name.

#include <filesystem>
#include <string>

#include "kiosk/records/file_chunk_records.h"

namespace hx {

enum class enumChunkWrite {
    Written,    // more chunks to come
    Completed,  // the file is in place
    Failed,     // dropped; the transfer does not advance
};

struct stChunkWriteResult {
    enumChunkWrite result = enumChunkWrite::Failed;
    std::string failure;  // why, for the log, when it failed
};

std::filesystem::path ChunkTemporaryPath(const std::filesystem::path& target);

// A chunk at offset 0 starts the file afresh (folders created, an old
// temporary file thrown away). A chunk that would leave a gap (its offset
// lies beyond what was written so far) is refused: the file would be
// completed with bytes that never came.
stChunkWriteResult WriteFileChunk(const std::filesystem::path& target, const stFileChunk& chunk);

}  // namespace hx
