#pragma once
// The desk's journal: one JSON object per line for everything it receives
// (decoded into named fields), what it sends, and what happens to each
// connection, so tests and technicians can read what went on. Lines are
// written whole and flushed at once; any thread may write.

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>

namespace hx {

class CJournal {
public:
    // Appends to the file, creating it. IsOpen tells whether that worked.
    explicit CJournal(const std::filesystem::path& file);
    ~CJournal();
    CJournal(const CJournal&) = delete;
    CJournal& operator=(const CJournal&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    // Adds "time" (seconds since 1970) and writes the line.
    void Write(nlohmann::json entry);

private:
    std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};

}  // namespace hx
