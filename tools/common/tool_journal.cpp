#include "tools/common/tool_journal.h"

namespace hx {

CToolJournal::CToolJournal(const std::filesystem::path& file) : m_wanted(!file.empty()) {
    if (m_wanted) {
        m_file = std::fopen(file.c_str(), "ab");
    }
}

CToolJournal::~CToolJournal() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void CToolJournal::Write(const nlohmann::json& entry) {
    // A console line may hold any bytes; a stray one must not cost the line.
    const std::string line =
        entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::lock_guard lock(m_mutex);
    if (m_file != nullptr) {
        std::fputs(line.c_str(), m_file);
        std::fflush(m_file);
    }
}

std::string HexBytes(std::span<const uint8_t> bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t byte : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace hx
