#pragma once
// A device simulator's journal: one JSON object per line for every command
// read, every write, what the device did and every console line, flushed at
// once so a test can read it while the simulator runs. Any thread may write.

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <span>
#include <string>

namespace hx {

class CToolJournal {
public:
    // An empty path keeps no journal. Appends, creating the file.
    explicit CToolJournal(const std::filesystem::path& file);
    ~CToolJournal();
    CToolJournal(const CToolJournal&) = delete;
    CToolJournal& operator=(const CToolJournal&) = delete;

    // False when a journal was asked for and cannot be written.
    bool Usable() const { return m_wanted == (m_file != nullptr); }
    void Write(const nlohmann::json& entry);

private:
    std::mutex m_mutex;
    bool m_wanted;
    std::FILE* m_file = nullptr;
};

// Bytes as "5B A4 03", the way a technician reads a line trace.
std::string HexBytes(std::span<const uint8_t> bytes);

}  // namespace hx
