#include "kiosk/server/file_chunk_writer.h"

#include <fstream>
#include <optional>
#include <system_error>

#include "platform/atomic_file.h"

namespace hx {

namespace {

stChunkWriteResult Failure(std::string why) {
    return {enumChunkWrite::Failed, std::move(why)};
}

// Opens the temporary file for this chunk: truncated for the first chunk,
// kept as it is for the others. The file's size must reach the chunk's offset.
std::optional<std::string> OpenForChunk(const std::filesystem::path& temporary,
                                        const stFileChunk& chunk, std::fstream& file) {
    std::error_code error;
    if (chunk.offset == 0) {
        std::filesystem::create_directories(temporary.parent_path(), error);
        std::filesystem::remove(temporary, error);
        file.open(temporary, std::ios::out | std::ios::binary | std::ios::trunc);
        return file.is_open() ? std::nullopt : std::optional<std::string>("열 수 없음");
    }
    const auto size = std::filesystem::file_size(temporary, error);
    if (error || size < static_cast<uintmax_t>(chunk.offset)) {
        return "앞 조각이 없음";
    }
    file.open(temporary, std::ios::in | std::ios::out | std::ios::binary);
    return file.is_open() ? std::nullopt : std::optional<std::string>("열 수 없음");
}

bool WouldBeTooLarge(const stFileChunk& chunk) {
    return static_cast<uintmax_t>(chunk.offset) + chunk.data.size() > kMaxChunkedFileBytes;
}

stChunkWriteResult DropTooLarge(const std::filesystem::path& temporary) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return {enumChunkWrite::TooLarge,
            "크기 한도 " + std::to_string(kMaxChunkedFileBytes) + "바이트 초과, 받던 파일 삭제"};
}

bool MoveIntoPlace(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    // Flushed first: after a power cut the name must not stand on a torn
    // file. The rename itself need not be: a lost rename leaves the temporary
    // file, which start-up removes, and the picture is fetched again.
    if (!FlushFileToDisk(temporary)) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    // A rename replaces the old file in one step; no moment without a file.
    std::filesystem::rename(temporary, target, error);
    return !error;
}

}  // namespace

std::filesystem::path ChunkTemporaryPath(const std::filesystem::path& target) {
    std::filesystem::path temporary = target;
    temporary += kChunkTemporarySuffix;
    return temporary;
}

std::vector<std::filesystem::path> RemoveChunkTemporaries(const std::filesystem::path& folder) {
    // Listed first, removed after: a folder is not changed while it is read.
    std::vector<std::filesystem::path> found;
    std::error_code error;
    std::filesystem::recursive_directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::recursive_directory_iterator();
         entry.increment(error)) {
        std::error_code ignored;
        if (entry->path().filename().string().ends_with(kChunkTemporarySuffix) &&
            !entry->is_directory(ignored)) {
            found.push_back(entry->path());
        }
    }
    std::vector<std::filesystem::path> removed;
    for (const std::filesystem::path& path : found) {
        std::error_code ignored;
        if (std::filesystem::remove(path, ignored)) {
            removed.push_back(path);
        }
    }
    return removed;
}

stChunkWriteResult WriteFileChunk(const std::filesystem::path& target, const stFileChunk& chunk) {
    if (chunk.offset < 0) {
        return Failure("위치가 음수");
    }
    const std::filesystem::path temporary = ChunkTemporaryPath(target);
    if (WouldBeTooLarge(chunk)) {
        return DropTooLarge(temporary);
    }
    std::fstream file;
    if (const std::optional<std::string> why = OpenForChunk(temporary, chunk, file)) {
        return Failure(*why);
    }
    file.seekp(chunk.offset);
    file.write(reinterpret_cast<const char*>(chunk.data.data()),
               static_cast<std::streamsize>(chunk.data.size()));
    file.close();
    if (!file) {
        return Failure("쓸 수 없음");
    }
    if (!IsLastChunk(chunk)) {
        return {enumChunkWrite::Written, {}};
    }
    if (!MoveIntoPlace(temporary, target)) {
        // Nothing would ever finish it, so it would lie there for good.
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return Failure("디스크에 쓰거나 제자리로 옮길 수 없음");
    }
    return {enumChunkWrite::Completed, {}};
}

stChunkWriteResult CFileChunkWriter::Write(const std::filesystem::path& target,
                                           const stFileChunk& chunk) {
    if (chunk.offset == 0) {
        m_tooLarge.erase(target);
    } else if (m_tooLarge.contains(target)) {
        return {enumChunkWrite::Skipped, {}};
    }
    stChunkWriteResult written = WriteFileChunk(target, chunk);
    if (written.result == enumChunkWrite::TooLarge) {
        m_tooLarge.insert(target);
    }
    return written;
}

}  // namespace hx
