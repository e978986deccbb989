#include "tools/frontdesk/picture_library.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "kiosk/records/file_chunk_records.h"
#include "net/crc32.h"
#include "platform/ini_document.h"

namespace hx {

namespace {

bool ReadWholeFile(const std::filesystem::path& file, Bytes& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

std::vector<std::string> CPictureLibrary::ListPictures() const {
    std::vector<std::string> names;
    std::error_code error;
    if (m_folder.empty()) {
        return names;
    }
    for (const auto& entry : std::filesystem::directory_iterator(m_folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name != kPictureIndexName && !Resolve(name).empty()) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string CPictureLibrary::BuildIndex() const {
    const std::vector<std::string> names = ListPictures();
    CIniDocument index;
    index.SetString("Count", "Count", std::to_string(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        index.SetString("Name", std::to_string(i), names[i]);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        Bytes bytes;
        // A file that vanished meanwhile gets checksum 0 and is fetched again.
        const uint32_t crc =
            ReadWholeFile(m_folder / names[i], bytes) ? Crc32(bytes.data(), bytes.size()) : 0;
        index.SetString("CRC", std::to_string(i), std::to_string(crc));
    }
    return index.Serialize();
}

std::filesystem::path CPictureLibrary::Resolve(std::string_view name) const {
    if (m_folder.empty() || name.empty() || name.find_first_of("/\\") != std::string_view::npos ||
        name == "." || name == "..") {
        return {};
    }
    std::error_code error;
    const std::filesystem::path file = m_folder / std::string(name);
    // A symbolic link may point anywhere; only what really lies in the folder counts.
    const auto real = std::filesystem::canonical(file, error);
    const auto folder = std::filesystem::canonical(m_folder, error);
    if (error || real.parent_path() != folder || !std::filesystem::is_regular_file(real, error)) {
        return {};
    }
    return real;
}

bool CPictureLibrary::ReadPicture(std::string_view name, Bytes& bytes) const {
    const std::filesystem::path file = Resolve(name);
    return !file.empty() && ReadWholeFile(file, bytes);
}

std::vector<Bytes> BuildFileChunkPackets(uint32_t command, int32_t index,
                                         std::span<const uint8_t> file) {
    std::vector<Bytes> packets;
    for (const stFileChunk& chunk : SplitIntoChunks(command, index, file)) {
        packets.push_back(Pack(chunk));
    }
    return packets;
}

}  // namespace hx
