#pragma once
// The kiosk's copy of the room pictures, kept in step with the server's list
// ("RoomImages.ini": [Count] Count, [Name] and [CRC] by index). A picture is
// fetched when it is missing or its CRC-32 differs; one request at a time,
// with the loading popup on the screen until the last one arrived. Names are
// matched regardless of the case of ASCII letters, as the desk's are.
//
// A picture's chunks carry only the index it was asked for with, and a new
// list may come while a request is answered: each request sent is kept with
// its name until its file is finished, so a file is written under the name
// it was asked for, and only the picture the current list waits for moves
// the download on.

#include <cstddef>
#include <cstdint>
#include <deque>
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
    // The file the answer to the oldest unfinished request sent with this
    // index is written to; empty when no such request is waiting.
    std::optional<std::filesystem::path> TargetOf(int index) const;
    // The answer to that request is in place. Advances when it is the picture
    // the list waits for; an answer to an earlier list's request changes
    // nothing else. True when that was the last one: the popup is cleared and
    // the caller resends the room list.
    bool OnPictureReceived(int index);

    const std::vector<std::string>& DownloadList() const;
    size_t Position() const;

private:
    struct stRequest {
        int index = 0;
        std::string name;
        std::filesystem::path target;
    };

    bool NeedsDownload(const std::string& name, const std::string& storedCrc) const;
    void RequestCurrent();
    // Where a picture of this name goes: the file already there under any
    // case of its letters, else the name as given.
    std::filesystem::path PlaceOf(const std::string& name) const;
    std::deque<stRequest>::const_iterator FindRequest(int index) const;

    MovieSink m_movie;
    PictureRequester m_requestPicture;
    LogSink m_log;
    stPlaces m_places;
    std::vector<std::string> m_downloads;
    size_t m_position = 0;
    // Sent and not yet finished, oldest first: the server answers in order.
    std::deque<stRequest> m_requests;
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
