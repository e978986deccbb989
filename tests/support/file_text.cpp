#include "tests/support/file_text.h"

#include <fstream>
#include <iterator>

namespace hx {

std::string ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool WriteWholeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    return WriteWholeFile(
        file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string> WaitForLine(const std::filesystem::path& file,
                                       const std::function<bool(const std::string&)>& matches,
                                       std::chrono::milliseconds limit) {
    std::optional<std::string> found;
    WaitUntil(
        [&] {
            for (const std::string& line : ReadLines(file)) {
                if (matches(line)) {
                    found = line;
                    return true;
                }
            }
            return false;
        },
        limit);
    return found;
}

}  // namespace hx
