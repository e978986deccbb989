#include "kiosk/server/resend_file.h"

#include <algorithm>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/file_bytes.h"

namespace hx {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::vector<std::string> NonEmptyLines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

}  // namespace

CReSendFile::CReSendFile(std::filesystem::path file) : m_file(std::move(file)) {}

bool CReSendFile::Append(std::string_view line) {
    const std::lock_guard lock(m_lock);
    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    std::string bytes = EndsCleanly() ? std::string() : std::string(kLineEnd);
    bytes.append(line).append(kLineEnd);
    m_appendedSinceFlush = true;
    return AppendToFile(m_file, bytes);
}

// Without the lock: a flush can take long on a busy disk, and appends need
// not wait for it. Lines appended meanwhile are flushed now or next time.
bool CReSendFile::FlushAppends() {
    if (!m_appendedSinceFlush.exchange(false)) {
        return true;
    }
    std::error_code error;
    if (!std::filesystem::exists(m_file, error)) {
        return true;
    }
    if (FlushAppendsToDisk(m_file)) {
        return true;
    }
    m_appendedSinceFlush = true;
    return false;
}

std::vector<std::string> CReSendFile::Lines() {
    const std::lock_guard lock(m_lock);
    return NonEmptyLines(ReadFileIfPresent(m_file).value_or(std::string()));
}

bool CReSendFile::RemoveLeading(const std::vector<std::string>& delivered) {
    const std::lock_guard lock(m_lock);
    const std::optional<std::string> bytes = ReadFileIfPresent(m_file);
    if (!bytes) {
        return false;
    }
    const std::vector<std::string> lines = NonEmptyLines(*bytes);
    if (lines.size() < delivered.size() ||
        !std::equal(delivered.begin(), delivered.end(), lines.begin())) {
        return false;
    }
    if (lines.size() == delivered.size()) {
        std::error_code error;
        std::filesystem::remove(m_file, error);
        return !error;
    }
    if (delivered.empty()) {
        return true;
    }
    std::string kept;
    for (size_t i = delivered.size(); i < lines.size(); ++i) {
        kept.append(lines[i]).append(kLineEnd);
    }
    return ReplaceFileAtomically(m_file, kept);
}

// Called under the lock: a file whose last line has no end (a crash in the
// middle of an append) needs one before the next line.
bool CReSendFile::EndsCleanly() {
    const std::optional<std::string> bytes = ReadFileIfPresent(m_file);
    return !bytes || bytes->empty() || bytes->back() == '\n';
}

}  // namespace hx
