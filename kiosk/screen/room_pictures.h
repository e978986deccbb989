#pragma once
// The kiosk's copy of the room pictures, kept in step with the server's list
// ("RoomImages.ini": [Count] Count, [Name] and [CRC] by index). A picture is
// fetched when it is missing or its CRC-32 differs; one request at a time,
// with the loading popup on the screen until the last one arrived.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

class CRoomPictures {
public:
    using MovieSink = std::function<void(std::string_view command, std::string_view args)>;
    // Sends the picture request for the download list's entry at index.
    using PictureRequester = std::function<bool(int index, const std::string& name)>;
    using LogSink = std::function<void(std::string_view utf8Line)>;

    struct stPlaces {
        std::filesystem::path listFile;       // "RoomImages.ini"
        std::filesystem::path pictureFolder;  // where the pictures live
    };
    // The program folder's "RoomImages.ini" and the skin's "RoomImage" folder.
    static stPlaces DefaultPlaces();

    CRoomPictures(MovieSink movie, PictureRequester requestPicture, LogSink log, stPlaces places);

    // Rebuilds the download list from the list file and requests its first
    // entry. Returns the number of pictures to fetch.
    size_t Synchronise();
    // The file a download entry is written to; empty outside the list.
    std::optional<std::filesystem::path> TargetOf(int index) const;
    // Advances past the finished picture. True when that was the last one:
    // the popup is cleared and the caller resends the room list.
    bool OnPictureReceived();

    const std::vector<std::string>& DownloadList() const;
    size_t Position() const;

private:
    bool NeedsDownload(const std::string& name, const std::string& storedCrc) const;
    void RequestCurrent();

    MovieSink m_movie;
    PictureRequester m_requestPicture;
    LogSink m_log;
    stPlaces m_places;
    std::vector<std::string> m_downloads;
    size_t m_position = 0;
};

// CRC-32 of the file's bytes, read in blocks of 65536; 0 when it cannot be read.
uint32_t FileCrc32(const std::filesystem::path& file);

// The stored checksum text as the unsigned 32-bit value it stands for; empty
// when it is not decimal digits or does not fit.
std::optional<uint32_t> ParseStoredCrc(std::string_view text);

// A picture name from the server is used only when it names a file inside
// the picture folder: relative, no "..", no drive, not ending in "." or a
// separator.
bool IsSafePictureName(std::string_view name);

}  // namespace hx
