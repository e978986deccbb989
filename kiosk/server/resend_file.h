#pragma once
// The resend file "ReSend.log": the reports the server has not acknowledged
// yet, one line each (CP949, CR LF), oldest first. Every change holds one
// lock, so a report handed over while a replay runs is never lost or torn.
// A line is in the file before Append returns, so the program's death
// cannot lose it, and on disk once FlushAppends returns; it leaves the file
// only when the replay says it was delivered (or cannot ever be). Append
// never waits for the disk, so the user interface thread can hand lines
// over; the resend thread flushes before it delivers, so a power cut loses
// at most the lines of the last moment, and at worst one is delivered twice.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

class CReSendFile {
public:
    explicit CReSendFile(std::filesystem::path file);

    const std::filesystem::path& Path() const { return m_file; }

    // Appends one line (given without its line end); false when it could not
    // be written. A line cut short by a crash is ended first, so it never
    // swallows the next one.
    bool Append(std::string_view line);
    // Puts the lines appended since the last flush on disk; false when that
    // failed (they are then still in the file, but not safe from a power cut).
    bool FlushAppends();
    // The lines that are not empty, in order, without their line ends.
    std::vector<std::string> Lines();
    // Removes the first `count` non-empty lines once they are the ones
    // given (a replay's delivered ones); the file goes when no non-empty
    // line is left. False when the file changed otherwise or could not be
    // rewritten: the lines then stay, to be sent again.
    bool RemoveLeading(const std::vector<std::string>& delivered);

private:
    bool EndsCleanly();

    const std::filesystem::path m_file;
    std::mutex m_lock;
    std::atomic<bool> m_appendedSinceFlush{false};
};

}  // namespace hx
