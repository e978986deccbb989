#pragma once
// For tests only: a tool's journal read back while the tool may still be
// writing it, one JSON object a line.

#include <cstddef>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/file_text.h"

namespace hx {

// The entries after the first `skipped` lines; a line still being written
// is no entry yet.
inline std::vector<nlohmann::json> ReadJournal(const std::filesystem::path& file,
                                               std::size_t skipped = 0) {
    std::vector<nlohmann::json> entries;
    const std::vector<std::string> lines = ReadLines(file);
    for (std::size_t i = skipped; i < lines.size(); ++i) {
        nlohmann::json entry = nlohmann::json::parse(lines[i], nullptr, false);
        if (!entry.is_discarded()) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

// The entries of one event after the first `skipped` lines, oldest first.
inline std::vector<nlohmann::json> ReadJournalEvents(const std::filesystem::path& file,
                                                     const std::string& event,
                                                     std::size_t skipped = 0) {
    std::vector<nlohmann::json> entries;
    for (nlohmann::json& entry : ReadJournal(file, skipped)) {
        if (entry.value("event", "") == event) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

}  // namespace hx
