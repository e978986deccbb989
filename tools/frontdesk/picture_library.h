#pragma once
// The room pictures the desk hands out: every file of one folder, listed for
// the kiosk in "RoomImages.ini" with its checksum, and sent on request. Only
// files directly in that folder are ever read.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

using Bytes = std::vector<uint8_t>;

inline constexpr char kPictureIndexName[] = "RoomImages.ini";

class CPictureLibrary {
public:
    // An empty folder path gives a library without pictures.
    explicit CPictureLibrary(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // File names in name order; an index file lying in the folder is not one.
    std::vector<std::string> ListPictures() const;
    // "RoomImages.ini" as the kiosk reads it (CP949): [Count] Count, [Name]
    // and [CRC] numbered from 0, the checksum as unsigned decimal text.
    std::string BuildIndex() const;
    // False for a name that leaves the folder or is not a file in it.
    bool ReadPicture(std::string_view name, Bytes& bytes) const;

private:
    // The file a name stands for, or empty when it is not one of ours.
    std::filesystem::path Resolve(std::string_view name) const;

    std::filesystem::path m_folder;
};

// The file as the chunk packets that carry it (510 or 512), in order.
std::vector<Bytes> BuildFileChunkPackets(uint32_t command, int32_t index,
                                         std::span<const uint8_t> file);

}  // namespace hx
