#include "tools/frontdesk/journal.h"

#include <chrono>

namespace hx {

CJournal::CJournal(const std::filesystem::path& file) : m_file(std::fopen(file.c_str(), "ab")) {}

CJournal::~CJournal() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void CJournal::Write(nlohmann::json entry) {
    entry["time"] = std::chrono::duration_cast<std::chrono::seconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    // Texts came through the CP949 codec, but a stray byte must not cost the line.
    const std::string line =
        entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::lock_guard lock(m_mutex);
    if (m_file != nullptr) {
        std::fwrite(line.data(), 1, line.size(), m_file);
        std::fflush(m_file);
    }
}

}  // namespace hx
